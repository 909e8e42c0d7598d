// cohost roundtrip: the component saves itself into a compound file through the host's
// container, the file is closed and opened again, and a fresh component loads from it.
// The case file is written under a temporary name and put in place only when the save
// succeeded, so a failure never leaves it half-written.
#include <cstdio>
#include "cohost/CaseContainer.h"
#include "cohost/Commands.h"
#include "cohost/ProductRoad.h"
#include "framework/WideText.h"
#include "support/CTxBSTR.h"

namespace {

const wchar_t kComponentStorage[] = L"Component";

std::wstring wide(const std::string& text) { return wideFromNarrow(text); }

// Names and sizes of what the component left in its storage.
Json storageContents(IStorage* root) {
  Json list = Json::array();
  fw::ComPtr<IStorage> component;
  if (FAILED(root->OpenStorage(kComponentStorage, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                               component.put())))
    return list;
  fw::ComPtr<IEnumSTATSTG> elements;
  if (FAILED(component->EnumElements(0, nullptr, 0, elements.put()))) return list;
  STATSTG stat;
  while (elements->Next(1, &stat, nullptr) == S_OK) {
    Json entry = Json::object();
    entry.set("name", narrowFromWide(stat.pwcsName));
    entry.set("kind", stat.type == STGTY_STREAM ? "stream" : stat.type == STGTY_STORAGE ? "storage" : "other");
    entry.set("bytes", static_cast<double>(stat.cbSize.QuadPart));
    CoTaskMemFree(stat.pwcsName);
    list.push(entry);
  }
  return list;
}

// A case file that may be replaced: absent, or a compound file that may be written.
bool checkTarget(Session& session, const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    session.error("the case file is a folder");
    return false;
  }
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    session.error("the case file is read-only");
    return false;
  }
  if (StgIsStorageFile(path.c_str()) != S_OK) {
    session.error("the case file exists and is not a compound file; it is left as it is");
    return false;
  }
  return true;
}

struct Step {
  const char* name;
  HRESULT result;
};

}  // namespace

int roundtripCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  long filter = 0;
  long defaultFilter = options.has("parent") ? 8 : 32;
  if (!options.only({"parent", "filter", "file"}, &error) || !options.number("filter", defaultFilter, &filter, &error) ||
      options.positional.size() != 1 || !options.has("file")) {
    session.error(error.empty() ? "roundtrip takes one ProgID and --file CASE" : error);
    return kExitUsage;
  }
  const std::string progId = options.positional[0], parent = options.get("parent");
  const std::wstring target = wide(options.get("file"));
  if (!checkTarget(session, target)) return kExitFailed;
  const std::wstring temporary = target + L".cohost-tmp";

  std::vector<Step> steps;
  Json result = Json::object();
  result.set("progid", progId);
  long persistType = 0;
  bool saved = false;
  {
    fw::ComPtr<IStorage> root;
    HRESULT hr = StgCreateDocfile(temporary.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                  root.put());
    if (FAILED(hr)) {
      session.error("cannot create the case file beside " + options.get("file") + " (" + hexCode(hr) + ")");
      return kExitFailed;
    }
    CaseContainer* made = nullptr;
    if (FAILED(CaseContainer::create(root.get(), kComponentStorage, &made))) return kExitFailed;
    fw::ComPtr<CaseContainer> container;
    container.attach(made);
    ProductRoad road(session, container.get());
    CreatedComponent created = road.create(progId, parent, filter);
    steps.push_back({"create", created.result});
    persistType = created.persistType;
    if (created.component) {
      HRESULT initialised = road.object()->loadStorage(VARIANT_FALSE);
      steps.push_back({"loadStorage(false)", initialised});
      HRESULT save = road.object()->saveStorage();
      steps.push_back({"saveStorage", save});
      road.object()->releaseComponents();
      hr = root->Commit(STGC_DEFAULT);
      steps.push_back({"commit", hr});
      // A message that the DLL handed to the host is a failure too.
      saved = SUCCEEDED(initialised) && SUCCEEDED(save) && SUCCEEDED(hr) && container->messages().empty();
      result.set("saved", storageContents(root.get()));
    }
    result.set("messagesWhileSaving", road.messagesJson());
  }
  if (!saved || !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temporary.c_str());
    saved = false;
  }

  bool loaded = false;
  if (saved) {
    fw::ComPtr<IStorage> root;
    HRESULT hr = StgOpenStorage(target.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, root.put());
    steps.push_back({"reopen", hr});
    if (SUCCEEDED(hr)) {
      CaseContainer* made = nullptr;
      fw::ComPtr<CaseContainer> container;
      if (SUCCEEDED(CaseContainer::create(root.get(), kComponentStorage, &made))) container.attach(made);
      ProductRoad road(session, container.get());
      CreatedComponent created = road.create(progId, parent, filter);
      steps.push_back({"create again", created.result});
      if (created.component) {
        HRESULT load = road.object()->loadStorage(VARIANT_TRUE);
        steps.push_back({"loadStorage(true)", load});
        loaded = SUCCEEDED(load) && container->messages().empty();
      }
      result.set("messagesWhileLoading", road.messagesJson());
    }
  }

  Json stepList = Json::array();
  for (const Step& step : steps) {
    Json entry = Json::object();
    entry.set("step", step.name);
    entry.set("result", hexCode(step.result));
    stepList.push(entry);
  }
  result.set("steps", stepList);
  result.set("persistence", persistKindName(persistType));
  result.set("ok", saved && loaded);

  if (options.json) {
    session.printJson(result);
  } else {
    printText(stdout, "component   %s (persistence: %s)\n", progId.c_str(), persistKindName(persistType));
    for (const Step& step : steps) printText(stdout, "%-19s %s\n", step.name, hexCode(step.result).c_str());
    const Json& contents = result["saved"];
    for (size_t i = 0; i < contents.size(); ++i)
      printText(stdout, "saved %-7s %s, %.0f bytes\n", contents[i]["kind"].asString().c_str(),
                        contents[i]["name"].asString().c_str(), contents[i]["bytes"].asNumber());
    printText(stdout, "%s\n", saved && loaded ? "round trip complete"
                              : saved           ? "saved, but loading failed"
                                                : "not saved; the case file is unchanged");
  }
  return saved && loaded ? kExitOk : kExitFailed;
}
