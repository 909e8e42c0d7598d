// The sample host container: ExtnContainer over a compound file, handing each component
// a sub-storage through GetStorage (position 20), recording every call, and failing on
// request (ISampleHostControl).
#pragma once
#include <objidl.h>
#include <string>
#include "samples/common/SampleHooks.h"
#include "samples/common/SampleObject.h"

namespace txs {

class HostContainer : public SampleDispatch<SampleExtnContainer, &IID_SampleExtnContainer>,
                      public ISampleHostControl,
                      public SupportErrorInfo,
                      public SampleIdentity {
 public:
  HostContainer();
  ~HostContainer();
  HostContainer(const HostContainer&) = delete;
  HostContainer& operator=(const HostContainer&) = delete;

  // A container over 'file' (opened when it exists, else created; null: in memory).
  static HRESULT create(const wchar_t* file, DWORD failures, REFIID riid, void** out);

  // IUnknown: the container's two IIDs unless refused, IDispatch, ISampleHostControl.
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  // SampleExtnContainer, by table position.
  STDMETHOD(Slot7)() override;
  STDMETHOD(Slot8)() override;
  STDMETHOD(Slot9)() override;
  STDMETHOD(Slot10)() override;
  STDMETHOD(GetHostContext)(SampleHostContext** context) override;
  STDMETHOD(AddMessage)(BSTR message, LONG flags) override;
  STDMETHOD(Slot13)() override;
  STDMETHOD(Slot14)() override;
  STDMETHOD(Slot15)() override;
  STDMETHOD(Slot16)() override;
  STDMETHOD(Slot17)() override;
  STDMETHOD(Slot18)() override;
  STDMETHOD(Slot19)() override;
  STDMETHOD(GetStorage)(LONG mode, VARIANT* storage) override;

  // ISampleHostControl
  STDMETHOD(OpenFile)(LPCWSTR path, BOOL create) override;
  STDMETHOD(CloseFile)() override;
  STDMETHOD(SetComponentName)(LPCWSTR name) override;
  STDMETHOD(SetFailures)(DWORD failures) override;
  STDMETHOD(GetRootStorage)(IStorage** root) override;
  STDMETHOD(AddComponent)(LPCWSTR name, IDispatch** container) override;

 private:
  HRESULT ensureRoot();
  HRESULT slot(int position);

  LONG refCount_;
  DWORD failures_;
  std::wstring componentName_;
  fw::ComPtr<IStorage> root_;
  // What a host in another language hands out by reference: it keeps the pointer itself.
  IUnknown* byReference_ = nullptr;
  fw::ComPtr<IStorage> referenced_;
};

// The class object of the registered host container.
HRESULT createHostContainerFactory(IClassFactory** factory);

}  // namespace txs
