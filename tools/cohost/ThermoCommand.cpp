// cohost thermo: creates a property package, loads its lists into the property package
// dialog, shows the dialog to a person and prints the options as they were left.
#include <cstdio>
#include "cohost/Commands.h"
#include "cohost/ProductRoad.h"

namespace {

Json options(ICCAPEGUI* object) {
  VARIANT_BOOL a = 0, b = 0, c = 0;
  Json json = Json::object();
  if (SUCCEEDED(object->getCompOptions(&a, &b, &c))) {
    json.set("allowSubsets", a != 0);
    json.set("freeCompounds", b != 0);
    json.set("treatAsHypos", c != 0);
  }
  if (SUCCEEDED(object->getRecovErrorsOptions(&a, &b, &c))) {
    json.set("recoverableTrace", a != 0);
    json.set("recoverableLog", b != 0);
    json.set("recoverablePopUp", c != 0);
  }
  if (SUCCEEDED(object->getCritErrorsOptions(&a, &b, &c))) {
    json.set("criticalTrace", a != 0);
    json.set("criticalLog", b != 0);
    json.set("criticalPopUp", c != 0);
  }
  if (SUCCEEDED(object->get_requestLiquid2(&a))) json.set("requestLiquid2", a != 0);
  if (SUCCEEDED(object->get_doOrderPhases(&a))) json.set("doOrderPhases", a != 0);
  BSTR name = nullptr;
  if (SUCCEEDED(object->getFullCOPPClassName(&name))) json.set("package", takeText(name));
  return json;
}

}  // namespace

int thermoCommand(Session& session) {
  const Options& opts = session.options();
  std::string error;
  if (!opts.only({"parent"}, &error) || opts.positional.size() != 1) {
    session.error(error.empty() ? "thermo takes one package name (with --parent for a package of a system)" : error);
    return kExitUsage;
  }
  ProductRoad road(session);
  const std::string& name = opts.positional[0];
  const std::string parent = opts.get("parent");
  if (!road.object()) return kExitFailed;  // it has said why
  // A name that the registry does not know would only raise the DLL's box and wait for a click: said here.
  if (!road.registered(name, parent)) {
    session.error(notRegisteredText(name, parent) +
                  (parent.empty() ? " (a package of a property system needs --parent SYSTEM)" : ""));
    return kExitFailed;
  }
  CreatedComponent created = road.create(name, parent, 8);
  if (!created.component) {
    session.error("the property package was not created (" + hexCode(created.result) + ")");
    return kExitFailed;
  }
  VARIANT none;
  VariantInit(&none);
  HRESULT hr = road.object()->setPPInfo(&none, &none, &none);
  if (FAILED(hr)) session.error("the package's lists could not be read (" + hexCode(hr) + ")");
  hr = road.object()->ShowThermoGUI(VARIANT_TRUE);
  Json result = options(road.object());
  result.set("result", hexCode(hr));
  if (opts.json) {
    session.printJson(result);
  } else {
    for (const auto& member : result.members()) {
      const Json& value = member.second;
      printText(stdout, "%-17s %s\n", member.first.c_str(),
                        value.kind() == Json::Bool ? (value.asBool() ? "on" : "off") : value.asString().c_str());
    }
  }
  return SUCCEEDED(hr) ? kExitOk : kExitFailed;
}
