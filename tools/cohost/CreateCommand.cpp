// cohost create: the host's road up to a created component, with the DLL's compliance
// messages and the persistence kind it found.
#include <cstdio>
#include "cohost/Commands.h"
#include "cohost/ProductRoad.h"

int createCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  long filter = 0;
  if (!options.only({"parent", "filter"}, &error) || !options.number("filter", 0, &filter, &error) ||
      options.positional.size() != 1 || !options.has("filter")) {
    session.error(error.empty() ? "create takes one ProgID and --filter N" : error);
    return kExitUsage;
  }
  ProductRoad road(session);
  CreatedComponent created = road.create(options.positional[0], options.get("parent"), filter);
  Json result = created.toJson();
  result.set("messages", road.messagesJson());
  if (options.json) {
    session.printJson(result);
  } else {
    printText(stdout, "component   %s%s\n", options.positional[0].c_str(),
                      options.has("parent") ? (" of " + options.get("parent")).c_str() : "");
    printText(stdout, "result      %s\n", hexCode(created.result).c_str());
    printText(stdout, "created     %s\n", created.component ? "yes" : "no");
    printText(stdout, "CAPE-OPEN   %ld (as registered)\n", created.capeVersion);
    printText(stdout, "persistence %s\n", persistKindName(created.persistType));
    for (const RelayedBox& box : road.messages()) printText(stdout, "message     %s\n", box.text.c_str());
  }
  return created.component ? kExitOk : kExitFailed;
}
