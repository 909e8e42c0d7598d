// ICapeUtilities and ICapeIdentification as the sample system, package and unit offer
// them: written once here, so that the three answer alike and log alike. Derived is the
// class that implements the interfaces (it also derives from SampleIdentity, whose log
// this uses); it fills the text and the few answers that differ in its setup.
// Neither this template nor anything it derives from declares a virtual function of its
// own, so the interfaces' methods keep their slots in Derived's tables.
#pragma once
#include <string>
#include "samples/common/ComHelpers.h"
#include "samples/common/EditWindow.h"
#include "samples/common/SampleObject.h"

namespace txs {

// Where the samples' ICapeUtilities answers differ.
struct UtilitiesAnswers {
  const wchar_t* noParameters = L"";  // the error text of get_parameters (E_NOTIMPL)
  bool initializeFails = false;       // Initialize: E_FAIL with kInitializeError
  bool terminateFails = false;        // Terminate: E_FAIL with kTerminateError
  bool editFails = false;             // Edit: E_FAIL with kEditError, no window
};

template <class Derived>
class SampleComponent : public SampleDispatch<ICapeUtilities, &IID_ICapeUtilities>,
                        public SampleDispatch<ICapeIdentification, &IID_ICapeIdentification> {
 public:
  // ICapeUtilities
  STDMETHOD(get_parameters)(IDispatch** parameters) override {
    self().log("get_parameters");
    if (!parameters) return E_POINTER;
    *parameters = nullptr;
    return failWith(E_NOTIMPL, answers_.noParameters, IID_ICapeUtilities);
  }
  STDMETHOD(put_simulationContext)(IDispatch*) override {
    self().log("put_simulationContext");
    return S_OK;
  }
  STDMETHOD(Initialize)() override {
    self().log("Initialize");
    if (answers_.initializeFails) return failWith(E_FAIL, kInitializeError, IID_ICapeUtilities);
    return S_OK;
  }
  STDMETHOD(Terminate)() override {
    self().log("Terminate");
    if (answers_.terminateFails) return failWith(E_FAIL, kTerminateError, IID_ICapeUtilities);
    return S_OK;
  }
  STDMETHOD(Edit)() override {
    self().log("Edit");
    if (answers_.editFails) return failWith(E_FAIL, kEditError, IID_ICapeUtilities);
    try {
      return showEditWindow(name_ + kEditCaptionSuffix, name_ + "\n" + description_);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }

  // ICapeIdentification
  STDMETHOD(get_ComponentName)(BSTR* name) override {
    self().log("get_ComponentName");
    return copyText(name_, name);
  }
  STDMETHOD(put_ComponentName)(BSTR name) override {
    self().log("put_ComponentName");
    return setText(name, name_);
  }
  STDMETHOD(get_ComponentDescription)(BSTR* description) override {
    self().log("get_ComponentDescription");
    return copyText(description_, description);
  }
  STDMETHOD(put_ComponentDescription)(BSTR description) override {
    self().log("put_ComponentDescription");
    return setText(description, description_);
  }

 protected:
  // The registered class's display name (its key when it has none) and description.
  void nameAfter(const ClassInfo& info) {
    name_ = info.values.name ? info.values.name : info.key;
    description_ = info.values.description ? info.values.description : "";
  }

  // Filled by Derived's setup.
  std::string name_;
  std::string description_;
  UtilitiesAnswers answers_;

 private:
  const Derived& self() const { return static_cast<const Derived&>(*this); }
  static HRESULT setText(BSTR text, std::string& out) {
    try {
      out = narrowFromWide(text);
      return S_OK;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
};

}  // namespace txs
