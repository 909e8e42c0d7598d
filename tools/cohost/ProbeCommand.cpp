// cohost probe: which of the twenty COM and CAPE-OPEN interfaces a component answers.
#include <cstdio>
#include "cohost/Commands.h"
#include "diagnostics/InterfaceProbe.h"

int probeCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  if (!options.only({"server"}, &error) || options.positional.size() != 1) {
    session.error(error.empty() ? "probe takes one ProgID" : error);
    return kExitUsage;
  }
  const std::string& progId = options.positional[0];
  session.beginStep("probing " + progId);
  ProbeResult result = probeComponent(progId, options.get("server"));
  session.endStep();
  for (const std::string& message : result.messages) session.error(message);

  if (options.json) {
    Json json = Json::object();
    json.set("progid", progId);
    json.set("result", hexCode(result.creation));
    Json interfaces = Json::array();
    for (const std::string& line : result.lines) {
      // "QI( <name> ) succeeded" / "... failed"
      Json entry = Json::object();
      size_t open = line.find("( "), close = line.find(" )");
      entry.set("interface", open != std::string::npos && close > open ? line.substr(open + 2, close - open - 2) : line);
      entry.set("answered", line.find("succeeded") != std::string::npos);
      entry.set("line", line);
      interfaces.push(entry);
    }
    json.set("interfaces", interfaces);
    Json messages = Json::array();
    for (const std::string& message : result.messages) messages.push(message);
    json.set("messages", messages);
    session.printJson(json);
  } else {
    for (const std::string& line : result.lines) printText(stdout, "%s\n", line.c_str());
  }
  return SUCCEEDED(result.creation) ? kExitOk : kExitFailed;
}
