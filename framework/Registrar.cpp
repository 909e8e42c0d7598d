#include "framework/Registrar.h"
#include <cctype>
#include <memory>
#include <vector>
#include "framework/Raii.h"
#include "framework/RegistryTree.h"
#include "framework/WideText.h"

namespace fw {

namespace {

struct Value {
  std::string name;  // empty: the default value
  char type = 's';   // 's' string, 'd' DWORD
  std::string data;
};

struct KeyNode {
  std::string name;
  bool noRemove = false;
  bool forceRemove = false;
  bool hasDefault = false;
  Value defaultValue;
  std::vector<Value> values;
  std::vector<std::unique_ptr<KeyNode>> children;
};

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text), pos_(0) {}

  // Root keys, each with its tree; false on a syntax error.
  bool parse(std::vector<std::unique_ptr<KeyNode>>& roots) {
    std::string token;
    while (next(token)) {
      auto root = std::make_unique<KeyNode>();
      root->name = token;
      root->noRemove = true;  // root keys are never removed
      if (!next(token) || token != "{" || !parseBody(*root)) return false;
      roots.push_back(std::move(root));
    }
    return !failed_;
  }

 private:
  bool parseBody(KeyNode& key) {
    std::string token;
    while (next(token)) {
      if (token == "}") return true;
      if (equalsNoCase(token, "val")) {
        Value value;
        if (!next(value.name) || !parseAssignment(value)) return false;
        key.values.push_back(value);
        continue;
      }
      auto child = std::make_unique<KeyNode>();
      if (equalsNoCase(token, "NoRemove")) { child->noRemove = true; if (!next(token)) return false; }
      else if (equalsNoCase(token, "ForceRemove")) { child->forceRemove = true; if (!next(token)) return false; }
      child->name = token;
      size_t mark = pos_;
      std::string following;
      if (next(following) && following == "=") {
        pos_ = mark;
        if (!parseAssignment(child->defaultValue)) return false;
        child->hasDefault = true;
        mark = pos_;
        if (!next(following)) { key.children.push_back(std::move(child)); return false; }
      }
      if (following == "{") {
        if (!parseBody(*child)) return false;
      } else {
        pos_ = mark;
      }
      key.children.push_back(std::move(child));
    }
    return false;  // a body without its closing brace
  }

  // "= s 'text'" or "= d 'number'".
  bool parseAssignment(Value& value) {
    std::string token;
    if (!next(token) || token != "=") return false;
    if (!next(token) || token.size() != 1 || (tolower(token[0]) != 's' && tolower(token[0]) != 'd')) return false;
    value.type = static_cast<char>(tolower(token[0]));
    return next(value.data);
  }

  // The next token: a brace, '=', a quoted string (with '' for a quote) or a bare word.
  bool next(std::string& token) {
    token.clear();
    while (pos_ < text_.size() && isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ >= text_.size()) return false;
    char c = text_[pos_];
    // A brace stands alone; one that starts a word is part of a name ({CLSID} keys).
    bool alone = pos_ + 1 >= text_.size() || isspace(static_cast<unsigned char>(text_[pos_ + 1])) ||
                 text_[pos_ + 1] == '{' || text_[pos_ + 1] == '}';
    if (((c == '{' || c == '}') && alone) || c == '=') {
      token = c;
      ++pos_;
      return true;
    }
    if (c == '\'') {
      ++pos_;
      while (pos_ < text_.size()) {
        if (text_[pos_] == '\'') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') { token += '\''; pos_ += 2; continue; }
          ++pos_;
          return true;
        }
        token += text_[pos_++];
      }
      failed_ = true;  // unterminated string
      return false;
    }
    while (pos_ < text_.size() && !isspace(static_cast<unsigned char>(text_[pos_])) && text_[pos_] != '=' &&
           text_[pos_] != '\'')
      token += text_[pos_++];
    return true;
  }

  static bool equalsNoCase(const std::string& a, const char* b) { return _stricmp(a.c_str(), b) == 0; }

  const std::string& text_;
  size_t pos_;
  bool failed_ = false;
};

HKEY rootKey(const std::string& name) {
  static const struct { const char* name; HKEY key; } roots[] = {
      {"HKCR", HKEY_CLASSES_ROOT}, {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
      {"HKCU", HKEY_CURRENT_USER}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
      {"HKU", HKEY_USERS}, {"HKEY_USERS", HKEY_USERS}};
  for (const auto& root : roots)
    if (_stricmp(root.name, name.c_str()) == 0) return root.key;
  return nullptr;
}

HRESULT fromWin32(LONG result) { return result == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(result); }

HRESULT removeTree(HKEY parent, const std::string& name) {
  return fromWin32(deleteRegistryTree(parent, wideFromNarrow(name)));
}

HRESULT setValue(HKEY key, const Value& value) {
  std::wstring wideName = wideFromNarrow(value.name);
  const wchar_t* name = wideName.empty() ? nullptr : wideName.c_str();
  if (value.type == 'd') {
    DWORD number = strtoul(value.data.c_str(), nullptr, 0);
    return fromWin32(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number));
  }
  std::wstring data = wideFromNarrow(value.data);
  return fromWin32(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))));
}

HRESULT registerKey(HKEY parent, const KeyNode& node) {
  if (node.forceRemove) {
    HRESULT hr = removeTree(parent, node.name);
    if (FAILED(hr)) return hr;
  }
  UniqueHKey key;
  HRESULT hr = fromWin32(RegCreateKeyExW(parent, wideFromNarrow(node.name).c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr));
  if (FAILED(hr)) return hr;
  if (node.hasDefault) {
    hr = setValue(key.get(), node.defaultValue);
    if (FAILED(hr)) return hr;
  }
  for (const Value& value : node.values) {
    hr = setValue(key.get(), value);
    if (FAILED(hr)) return hr;
  }
  for (const auto& child : node.children) {
    hr = registerKey(key.get(), *child);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

bool hasSubkeys(HKEY key) {
  DWORD count = 0;
  return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS && count > 0;
}

HRESULT unregisterKey(HKEY parent, const KeyNode& node) {
  if (node.forceRemove && !node.noRemove) return removeTree(parent, node.name);
  UniqueHKey key;
  LONG result = RegOpenKeyExW(parent, wideFromNarrow(node.name).c_str(), 0, KEY_READ | KEY_WRITE, key.put());
  if (result == ERROR_FILE_NOT_FOUND) return S_OK;
  if (result != ERROR_SUCCESS) return fromWin32(result);
  for (const auto& child : node.children) {
    HRESULT hr = unregisterKey(key.get(), *child);
    if (FAILED(hr)) return hr;
  }
  for (const Value& value : node.values) {
    result = RegDeleteValueW(key.get(), wideFromNarrow(value.name).c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) return fromWin32(result);
  }
  if (node.noRemove) return S_OK;
  // Keys that others put below ours stay, and so does ours then.
  bool keep = hasSubkeys(key.get());
  key.reset();
  if (keep) return S_OK;
  result = RegDeleteKeyW(parent, wideFromNarrow(node.name).c_str());
  return result == ERROR_FILE_NOT_FOUND ? S_OK : fromWin32(result);
}

}  // namespace

void Registrar::addReplacement(const std::string& name, const std::string& value) {
  std::string key = name;
  for (char& c : key) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  replacements_[key] = value;
}

HRESULT Registrar::registerScript(const std::string& script) { return run(script, true); }
HRESULT Registrar::unregisterScript(const std::string& script) { return run(script, false); }

HRESULT Registrar::run(const std::string& script, bool doRegister) {
  std::string text;
  for (size_t i = 0; i < script.size(); ++i) {
    if (script[i] != '%') { text += script[i]; continue; }
    size_t end = script.find('%', i + 1);
    if (end == std::string::npos) return DISP_E_EXCEPTION;
    std::string name = script.substr(i + 1, end - i - 1);
    if (name.empty()) {
      text += '%';
    } else {
      for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
      auto found = replacements_.find(name);
      if (found == replacements_.end()) return DISP_E_EXCEPTION;
      text += found->second;
    }
    i = end;
  }

  std::vector<std::unique_ptr<KeyNode>> roots;
  Parser parser(text);
  if (!parser.parse(roots)) return DISP_E_EXCEPTION;
  for (const auto& root : roots) {
    HKEY key = rootKey(root->name);
    if (!key) return DISP_E_EXCEPTION;
    for (const auto& child : root->children) {
      HRESULT hr = doRegister ? registerKey(key, *child) : unregisterKey(key, *child);
      if (FAILED(hr)) return hr;
    }
  }
  return S_OK;
}

HRESULT Registrar::resourceRegister(HMODULE module, UINT id, bool doRegister) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), L"REGISTRY");
  if (!resource) return HRESULT_FROM_WIN32(GetLastError());
  HGLOBAL loaded = LoadResource(module, resource);
  DWORD size = SizeofResource(module, resource);
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!data) return HRESULT_FROM_WIN32(GetLastError());
  return run(std::string(data, size), doRegister);
}

}  // namespace fw
