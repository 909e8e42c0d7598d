#include "diagnostics/InterfaceProbe.h"
#include "external/CapeOpen.h"
#include "framework/ComPtr.h"
#include "framework/WideText.h"
#include "support/Utils.h"

namespace {

class CollectingSink : public ProbeSink {
 public:
  explicit CollectingSink(ProbeResult& result) : result_(result) {}
  void addLine(const std::string& line) override { result_.lines.push_back(line); }
  void showMessage(const std::string& text) override { result_.messages.push_back(text); }

 private:
  ProbeResult& result_;
};

}  // namespace

void ProbeInterface(ProbeSink& sink, const char* name, REFIID iid, IUnknown* object) {
  if (!object || !name) return;
  try {
    fw::ComPtr<IUnknown> answer;
    HRESULT hr = answer.queryFrom(object, iid);
    // Only E_NOINTERFACE (success without a pointer counts so) says that the interface is absent.
    sink.addLine(std::string("QI( ") + name + (hr == E_NOINTERFACE ? " ) failed" : " ) succeeded"));
  } catch (...) {
    sink.showMessage("Error");
  }
}

HRESULT ProbeInterfaces(ProbeSink& sink, const std::string& progId, const std::string& serverName) {
  CLSID clsid = GUID_NULL;
  // An unknown ProgID leaves the null CLSID, whose creation fails below.
  CLSIDFromProgID(wideFromNarrow(progId).c_str(), &clsid);
  std::wstring server = wideFromNarrow(serverName);
  fw::ComPtr<IUnknown> object;
  HRESULT hr = Utils::createInstance(clsid, nullptr, Utils::kCreationContext, IID_IUnknown, object.put_void(),
                                     server.empty() ? nullptr : server.c_str());
  hr = fw::requireOut(hr, object.get());
  if (hr == S_OK) {
    for (const CapeProbeEntry& entry : kCapeProbeTable) ProbeInterface(sink, entry.name, *entry.iid, object.get());
  } else if (hr == REGDB_E_CLASSNOTREG) {
    sink.showMessage("The object " + progId + " is not registered in the registration database.");
  } else {
    sink.showMessage("Unexpected error while instantiating " + progId);
  }
  return hr;
}

ProbeResult probeComponent(const std::string& progId, const std::string& serverName) {
  ProbeResult result;
  CollectingSink sink(result);
  result.creation = ProbeInterfaces(sink, progId, serverName);
  return result;
}
