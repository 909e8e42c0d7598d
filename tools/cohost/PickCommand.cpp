// cohost pick: the Component Manager for a person; prints what was chosen.
#include <cstdio>
#include "cohost/Commands.h"

int pickCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  long filter = 0;
  if (!options.only({"filter"}, &error) || !options.number("filter", 12 | 32, &filter, &error) ||
      !options.positional.empty()) {
    session.error(error.empty() ? "pick takes no arguments" : error);
    return kExitUsage;
  }
  fw::ComPtr<ICCAPEGUI> object = session.createProduct();
  if (!object) return kExitFailed;
  HRESULT hr = object->setup(reinterpret_cast<INT_PTR>(session.hostWindow()), nullptr, filter);
  if (FAILED(hr)) return kExitFailed;
  BSTR component = nullptr, catid = nullptr;
  hr = object->ShowGUI(&component, &catid);
  std::string chosen = takeText(component), category = takeText(catid);
  auto text = [&](HRESULT(STDMETHODCALLTYPE ICCAPEGUI::*getter)(BSTR*)) {
    BSTR value = nullptr;
    return SUCCEEDED((object.get()->*getter)(&value)) ? takeText(value) : std::string();
  };
  Json choice = Json::object();
  choice.set("result", hexCode(hr));
  choice.set("progid", chosen);
  choice.set("catid", category);
  choice.set("name", text(&ICCAPEGUI::GetItemAlias));
  choice.set("parentProgid", text(&ICCAPEGUI::GetParentProgID));
  choice.set("parentName", text(&ICCAPEGUI::GetParentAlias));
  choice.set("serverName", text(&ICCAPEGUI::get_serverName));
  if (options.json) {
    session.printJson(choice);
  } else if (chosen.empty()) {
    printText(stdout, "Nothing was chosen.\n");
  } else {
    for (const auto& member : choice.members())
      printText(stdout, "%-13s %s\n", member.first.c_str(), member.second.asString().c_str());
  }
  return chosen.empty() ? kExitFailed : kExitOk;
}
