#include "samples/host/HostObjects.h"
#include <string>
#include "samples/common/ComHelpers.h"
#include "samples/common/SampleHooks.h"

namespace txs {

// --- HostContext (object A) ---

HRESULT HostContext::create(DWORD failures, REFIID riid, void** out) {
  return make("HostContext", failures, riid, out);
}

STDMETHODIMP HostContext::GetMessageLog(SampleMessageLog** messageLog) {
  log("GetMessageLog");
  if (!messageLog) return E_POINTER;
  *messageLog = nullptr;
  if (failures_ & hostFailMessageLog) return failWith(E_FAIL, L"The host has no message log", IID_SampleHostContext);
  return HostMessageLog::create(failures_, messageLog);
}

// --- HostMessageLog (object B) ---

HRESULT HostMessageLog::create(DWORD failures, SampleMessageLog** out) {
  return make("MessageLog", failures, IID_SampleMessageLog, reinterpret_cast<void**>(out));
}

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
