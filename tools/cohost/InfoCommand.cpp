// cohost info: what the DLL reads from the registry for one component, without a window.
#include <cstdio>
#include "cohost/Commands.h"
#include "cohost/ProductRoad.h"
#include "support/CTxBSTR.h"

int infoCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  if (!options.only({"parent"}, &error) || options.positional.size() != 1) {
    session.error(error.empty() ? "info takes one ProgID" : error);
    return kExitUsage;
  }
  fw::ComPtr<ICCAPEGUI> object = session.createProduct();
  if (!object) return kExitFailed;
  CTxBSTR progId(options.positional[0].c_str()), parent(options.get("parent").c_str());
  HRESULT hr = object->setProgIds(progId, parent);
  if (FAILED(hr)) {
    session.error("setProgIds failed with " + hexCode(hr));
    return kExitFailed;
  }

  // Each getter hands out a new BSTR (or null) that takeText frees.
  auto text = [&](HRESULT(STDMETHODCALLTYPE ICCAPEGUI::*getter)(BSTR*)) {
    BSTR value = nullptr;
    return SUCCEEDED((object.get()->*getter)(&value)) ? takeText(value) : std::string();
  };
  Json info = Json::object();
  info.set("progid", text(&ICCAPEGUI::GetItemProgID));
  info.set("name", text(&ICCAPEGUI::GetItemAlias));
  info.set("parentProgid", text(&ICCAPEGUI::GetParentProgID));
  info.set("parentName", text(&ICCAPEGUI::GetParentAlias));
  info.set("catid", text(&ICCAPEGUI::GetCATID));
  // A name that the registry does not know leaves the choice empty: no CLSID to ask for.
  info.set("clsid", info["progid"].asString().empty() ? std::string() : text(&ICCAPEGUI::GetItemCLSID));
  if (info["clsid"].asString().empty()) {  // no table of empty fields: what was asked for, and why there is none
    const std::string why = notRegisteredText(options.positional[0], options.get("parent"));
    if (options.json) {
      Json refused = Json::object();
      refused.set("progid", options.positional[0]);
      refused.set("parentProgid", options.get("parent"));
      refused.set("registered", false);
      refused.set("error", why);
      session.printJson(refused);
    }
    session.error(why);
    return kExitFailed;
  }
  LONG version = 0;
  hr = object->get_compCOversion(&version);
  BSTR fields[5] = {};
  if (SUCCEEDED(hr)) hr = object->GetItemInfo(&fields[0], &fields[1], &fields[2], &fields[3], &fields[4]);
  info.set("capeVersion", static_cast<long>(version));
  const char* names[5] = {"description", "componentVersion", "vendorURL", "helpURL", "about"};
  for (int i = 0; i < 5; ++i) info.set(names[i], takeText(fields[i]));
  if (FAILED(hr)) {
    session.error("the registered information cannot be read (" + hexCode(hr) + ")");
    return kExitFailed;
  }
  info.set("registered", true);

  if (options.json) {
    session.printJson(info);
  } else {
    for (const auto& member : info.members()) {
      const Json& value = member.second;
      std::string shown = value.kind() == Json::String ? value.asString()
                          : value.kind() == Json::Bool  ? (value.asBool() ? "yes" : "no")
                                                        : value.dump(0);
      printText(stdout, "%-17s %s\n", member.first.c_str(), shown.c_str());
    }
  }
  return kExitOk;
}
