#include "cohost/ProductRoad.h"
#include "support/CTxBSTR.h"

const char* persistKindName(long kind) {
  switch (kind) {
    case 1: return "IPersistStorage";
    case 2: return "IPersistStream";
    case 3: return "IPersistStreamInit";
    default: return "none";
  }
}

Json CreatedComponent::toJson() const {
  Json json = Json::object();
  json.set("result", hexCode(result));
  json.set("created", static_cast<bool>(component));
  json.set("parentCreated", static_cast<bool>(parent));
  json.set("capeVersion", capeVersion);
  json.set("persistType", persistType);
  json.set("persistence", persistKindName(persistType));
  return json;
}

ProductRoad::ProductRoad(Session& session, IDispatch* container)
    : session_(session), container_(container), object_(session.createProduct()) {}

ProductRoad::~ProductRoad() { release(); }

void ProductRoad::release() {
  if (object_) object_->releaseComponents();
}

CreatedComponent ProductRoad::create(const std::string& progId, const std::string& parentProgId, long filter) {
  CreatedComponent created;
  if (!object_) return created;
  HWND host = session_.options().batch ? nullptr : session_.hostWindow();
  created.result = object_->setup(reinterpret_cast<INT_PTR>(host), container_, filter);
  if (FAILED(created.result)) return created;
  CTxBSTR progIdText(progId.c_str()), parentText(parentProgId.c_str());
  created.result = object_->setProgIds(progIdText, parentText);
  if (FAILED(created.result)) return created;
  LONG version = 0;
  object_->get_compCOversion(&version);
  created.capeVersion = version;
  session_.beginStep("creating " + progId);
  created.result = object_->createComp(created.component.put(), created.parent.put());
  session_.endStep();
  LONG kind = 0;
  if (created.component && SUCCEEDED(object_->getPersistType(&kind))) created.persistType = kind;
  return created;
}

std::string notRegisteredText(const std::string& progId, const std::string& parentProgId) {
  return "'" + progId + "'" + (parentProgId.empty() ? "" : " of '" + parentProgId + "'") +
         " is not registered as a CAPE-OPEN component";
}

bool ProductRoad::registered(const std::string& progId, const std::string& parentProgId) {
  CTxBSTR progIdText(progId.c_str()), parentText(parentProgId.c_str());
  if (!object_ || FAILED(object_->setProgIds(progIdText, parentText))) return false;
  // An unknown name leaves the choice without a ProgID, and then there is no CLSID to ask for.
  BSTR known = nullptr, clsid = nullptr;
  return SUCCEEDED(object_->GetItemProgID(&known)) && !takeText(known).empty() &&
         SUCCEEDED(object_->GetItemCLSID(&clsid)) && !takeText(clsid).empty();
}

const std::vector<RelayedBox>& ProductRoad::messages() {
  for (RelayedBox& box : session_.boxes().take()) messages_.push_back(box);
  return messages_;
}

Json ProductRoad::messagesJson() {
  Json list = Json::array();
  for (const RelayedBox& box : messages()) {
    Json entry = Json::object();
    entry.set("caption", box.caption);
    entry.set("text", box.text);
    list.push(entry);
  }
  return list;
}
