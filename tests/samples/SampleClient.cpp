#include "SampleClient.h"
#include <oleauto.h>
#include "common/TestSupport.h"
#include "external/CapeOpen.h"

namespace txt {

HRESULT create(const txs::ClassInfo& info, REFIID riid, void** out) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(info.progIdW, &clsid);
  if (FAILED(hr)) return hr;
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, riid, out);
}

std::string errorDescription() {
  fw::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || !info) return "";
  BSTR description = nullptr;
  info->GetDescription(&description);
  std::string text = tx::narrow(description);
  SysFreeString(description);
  return text;
}

namespace {
bool bounds(const VARIANT& list, VARTYPE type, LONG* lower, LONG* upper) {
  if (list.vt != (VT_ARRAY | type) || !list.parray || SafeArrayGetDim(list.parray) != 1) return false;
  return SUCCEEDED(SafeArrayGetLBound(list.parray, 1, lower)) && SUCCEEDED(SafeArrayGetUBound(list.parray, 1, upper));
}
}  // namespace

bool readStrings(const VARIANT& list, std::vector<std::string>* items, LONG* lowerBound) {
  LONG lower = 0, upper = -1;
  if (!bounds(list, VT_BSTR, &lower, &upper)) return false;
  items->clear();
  for (LONG i = lower; i <= upper; ++i) {
    BSTR item = nullptr;
    if (FAILED(SafeArrayGetElement(list.parray, &i, &item))) return false;
    items->push_back(tx::narrow(item));
    SysFreeString(item);
  }
  if (lowerBound) *lowerBound = lower;
  return true;
}

bool readDoubles(const VARIANT& list, std::vector<double>* items, LONG* lowerBound) {
  LONG lower = 0, upper = -1;
  if (!bounds(list, VT_R8, &lower, &upper)) return false;
  items->clear();
  for (LONG i = lower; i <= upper; ++i) {
    double item = 0;
    if (FAILED(SafeArrayGetElement(list.parray, &i, &item))) return false;
    items->push_back(item);
  }
  if (lowerBound) *lowerBound = lower;
  return true;
}

std::vector<std::string> logEntries(const char* dll, const std::string& prefix) {
  std::vector<std::string> result;
  for (const std::string& entry : txs::sampleCallLog(dll))
    if (entry.compare(0, prefix.size(), prefix) == 0) result.push_back(entry);
  return result;
}

std::wstring tempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + name + L"." + std::to_wstring(GetCurrentProcessId()) + L".stg";
  DeleteFileW(path.c_str());
  return path;
}

std::vector<std::string> registrationSnapshot(HKEY root, const txs::ClassInfo& info) {
  wchar_t wide[40];
  StringFromGUID2(info.clsid, wide, 40);
  std::vector<std::string> lines;
  for (const std::string& key :
       {std::string("CLSID\\") + tx::narrow(wide), std::string(info.progId), std::string(info.viProgId)}) {
    if (tx::keyExists(root, key)) lines.push_back(key);
    for (const std::string& line : tx::snapshotKey(root, key)) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> answeredProbes(IUnknown* object) {
  std::vector<std::string> names;
  for (const CapeProbeEntry& entry : kCapeProbeTable) {
    fw::ComPtr<IUnknown> answer;
    if (object->QueryInterface(*entry.iid, answer.put_void()) == S_OK && answer) names.push_back(entry.name);
  }
  return names;
}

}  // namespace txt
