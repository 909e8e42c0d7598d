#include "samples/host/HostObjects.h"
#include <string>
#include "samples/common/ComHelpers.h"
#include "samples/common/SampleHooks.h"

namespace txs {

// --- HostContext (object A) ---

const fw::InterfaceEntry* HostContext::interfaceTable() {
  static const fw::InterfaceEntry table[] = {
      {&IID_SampleHostContext, fw::interfaceOffset<HostContext, SampleHostContext>()},
      {&IID_IDispatch, fw::interfaceOffset<HostContext, SampleHostContext>()},
      {nullptr, 0}};
  return table;
}

HRESULT HostContext::create(DWORD failures, REFIID riid, void** out) {
  *out = nullptr;
  fw::ComPtr<IUnknown> unknown;
  HostContext* context = nullptr;
  HRESULT hr = createObject(unknown, &context);
  if (FAILED(hr)) return hr;
  try {
    context->setLogName("HostContext");
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  context->failures_ = failures;
  return unknown->QueryInterface(riid, out);
}

HRESULT HostContext::slot(int position) {
  try {
    log(("Slot" + std::to_string(position)).c_str());
  } catch (...) {
  }
  return E_NOTIMPL;
}

STDMETHODIMP HostContext::Slot7() { return slot(7); }
STDMETHODIMP HostContext::Slot8() { return slot(8); }
STDMETHODIMP HostContext::Slot9() { return slot(9); }
STDMETHODIMP HostContext::Slot10() { return slot(10); }
STDMETHODIMP HostContext::Slot11() { return slot(11); }
STDMETHODIMP HostContext::Slot12() { return slot(12); }
STDMETHODIMP HostContext::Slot13() { return slot(13); }
STDMETHODIMP HostContext::Slot14() { return slot(14); }
STDMETHODIMP HostContext::Slot15() { return slot(15); }
STDMETHODIMP HostContext::Slot16() { return slot(16); }
STDMETHODIMP HostContext::Slot17() { return slot(17); }
STDMETHODIMP HostContext::Slot18() { return slot(18); }
STDMETHODIMP HostContext::Slot19() { return slot(19); }
STDMETHODIMP HostContext::Slot20() { return slot(20); }
STDMETHODIMP HostContext::Slot21() { return slot(21); }
STDMETHODIMP HostContext::Slot22() { return slot(22); }
STDMETHODIMP HostContext::Slot23() { return slot(23); }
STDMETHODIMP HostContext::Slot24() { return slot(24); }
STDMETHODIMP HostContext::Slot25() { return slot(25); }
STDMETHODIMP HostContext::Slot26() { return slot(26); }
STDMETHODIMP HostContext::Slot27() { return slot(27); }
STDMETHODIMP HostContext::Slot28() { return slot(28); }
STDMETHODIMP HostContext::Slot29() { return slot(29); }
STDMETHODIMP HostContext::Slot30() { return slot(30); }
STDMETHODIMP HostContext::Slot31() { return slot(31); }
STDMETHODIMP HostContext::Slot32() { return slot(32); }

STDMETHODIMP HostContext::GetMessageLog(SampleMessageLog** messageLog) {
  log("GetMessageLog");
  if (!messageLog) return E_POINTER;
  *messageLog = nullptr;
  if (failures_ & hostFailMessageLog) return failWith(E_FAIL, L"The host has no message log", IID_SampleHostContext);
  return HostMessageLog::create(failures_, messageLog);
}

// --- HostMessageLog (object B) ---

const fw::InterfaceEntry* HostMessageLog::interfaceTable() {
  static const fw::InterfaceEntry table[] = {
      {&IID_SampleMessageLog, fw::interfaceOffset<HostMessageLog, SampleMessageLog>()},
      {&IID_IDispatch, fw::interfaceOffset<HostMessageLog, SampleMessageLog>()},
      {nullptr, 0}};
  return table;
}

HRESULT HostMessageLog::create(DWORD failures, SampleMessageLog** out) {
  *out = nullptr;
  fw::ComPtr<IUnknown> unknown;
  HostMessageLog* messageLog = nullptr;
  HRESULT hr = createObject(unknown, &messageLog);
  if (FAILED(hr)) return hr;
  try {
    messageLog->setLogName("MessageLog");
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  messageLog->failures_ = failures;
  return unknown->QueryInterface(IID_SampleMessageLog, reinterpret_cast<void**>(out));
}

HRESULT HostMessageLog::slot(int position) {
  try {
    log(("Slot" + std::to_string(position)).c_str());
  } catch (...) {
  }
  return E_NOTIMPL;
}

STDMETHODIMP HostMessageLog::Slot7() { return slot(7); }
STDMETHODIMP HostMessageLog::Slot8() { return slot(8); }
STDMETHODIMP HostMessageLog::Slot9() { return slot(9); }
STDMETHODIMP HostMessageLog::Slot10() { return slot(10); }
STDMETHODIMP HostMessageLog::Slot11() { return slot(11); }
STDMETHODIMP HostMessageLog::Slot12() { return slot(12); }
STDMETHODIMP HostMessageLog::Slot13() { return slot(13); }
STDMETHODIMP HostMessageLog::Slot14() { return slot(14); }
STDMETHODIMP HostMessageLog::Slot15() { return slot(15); }
STDMETHODIMP HostMessageLog::Slot16() { return slot(16); }
STDMETHODIMP HostMessageLog::Slot17() { return slot(17); }
STDMETHODIMP HostMessageLog::Slot18() { return slot(18); }
STDMETHODIMP HostMessageLog::Slot19() { return slot(19); }
STDMETHODIMP HostMessageLog::Slot20() { return slot(20); }

STDMETHODIMP HostMessageLog::Prepare(LONG flags) {
  try {
    log("Prepare", std::to_string(flags));
  } catch (...) {
  }
  if (failures_ & hostFailPrepare)
    return failWith(E_FAIL, L"The host's message log is not ready", IID_SampleMessageLog);
  return S_OK;
}

}  // namespace txs
