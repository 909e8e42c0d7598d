// The tool's stand-in for the host's container: hands the component a sub-storage of a
// compound file through the container's storage method, and keeps the persistence
// messages that the DLL passes back to the host.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "external/ExtnContainer.h"
#include "framework/ComPtr.h"

class CaseContainer : public ExtnContainer {
 public:
  // A new container over 'root' (held); the component's storage is 'componentName'.
  static HRESULT create(IStorage* root, const wchar_t* componentName, CaseContainer** out);

  const std::vector<std::string>& messages() const { return messages_; }
  const std::vector<long>& storageModes() const { return modes_; }

  // IUnknown: both container interfaces and IDispatch.
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;
  // IDispatch: not offered for late binding.
  STDMETHOD(GetTypeInfoCount)(UINT* count) override;
  STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override;
  STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

  STDMETHOD(Reserved7)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved8)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved9)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved10)() override { return E_NOTIMPL; }
  STDMETHOD(GetHostContext)(ExtnHostContext** context) override;
  STDMETHOD(AddMessage)(BSTR message, long flags) override;
  STDMETHOD(Reserved13)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved14)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved15)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved16)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved17)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved18)() override { return E_NOTIMPL; }
  STDMETHOD(Reserved19)() override { return E_NOTIMPL; }
  STDMETHOD(GetStorage)(long mode, VARIANT* storage) override;

 private:
  CaseContainer(IStorage* root, const wchar_t* componentName);
  virtual ~CaseContainer() {}

  LONG refs_;
  fw::ComPtr<IStorage> root_;
  std::wstring componentName_;
  std::vector<std::string> messages_;
  std::vector<long> modes_;
};
