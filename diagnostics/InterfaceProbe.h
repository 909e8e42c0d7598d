// The interface probe: creates a component and asks it, with QueryInterface, for the two
// COM base interfaces and eighteen CAPE-OPEN 1.0 interfaces, one result line each.
// Window-free; the Component Manager's right-click and command-line tools use it.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Where the probe's output goes: result lines, and messages for the user.
class ProbeSink {
 public:
  virtual ~ProbeSink() {}
  // "QI( <name> ) succeeded" or "QI( <name> ) failed", in table order.
  virtual void addLine(const std::string& line) = 0;
  // "Error", "The object <ProgID> is not registered in the registration database." or
  // "Unexpected error while instantiating <ProgID>".
  virtual void showMessage(const std::string& text) = 0;
};

// Creates the component of 'progId' (on 'serverName' when not empty) and probes it.
// Creation failures are also shown by the shared creation diagnostic. Returns the
// creation's result.
HRESULT ProbeInterfaces(ProbeSink& sink, const std::string& progId, const std::string& serverName);
// One interface against the created object.
void ProbeInterface(ProbeSink& sink, const char* name, REFIID iid, IUnknown* object);

// The probe's output collected, for callers without a window.
struct ProbeResult {
  HRESULT creation = E_FAIL;
  std::vector<std::string> lines;
  std::vector<std::string> messages;
};
ProbeResult probeComponent(const std::string& progId, const std::string& serverName = std::string());
