#include "cohost/Options.h"
#include <cerrno>
#include <cstdlib>

const std::set<std::string>& Options::valueOptions() {
  static const std::set<std::string> names = {"filter", "parent", "file", "server", "view", "match"};
  return names;
}

bool Options::parse(const std::vector<std::string>& arguments, Options* out, std::string* error) {
  Options options;
  const size_t argc = arguments.size();
  for (size_t i = 0; i < argc; ++i) {
    const std::string& arg = arguments[i];
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      std::string name = arg.substr(2);
      if (name == "json") { options.json = true; continue; }
      if (name == "batch") { options.batch = true; continue; }
      if (!valueOptions().count(name)) {
        *error = "unknown option " + arg;
        return false;
      }
      if (i + 1 >= argc) {
        *error = "option " + arg + " needs a value";
        return false;
      }
      options.values[name] = arguments[++i];
    } else if (options.command.empty()) {
      options.command = arg;
    } else {
      options.positional.push_back(arg);
    }
  }
  *out = options;
  return true;
}

std::string Options::get(const std::string& name, const std::string& fallback) const {
  auto found = values.find(name);
  return found == values.end() ? fallback : found->second;
}

bool Options::number(const std::string& name, long fallback, long* out, std::string* error) const {
  *out = fallback;
  if (!has(name)) return true;
  const std::string text = get(name);
  char* end = nullptr;
  errno = 0;
  long value = strtol(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0' || errno == ERANGE) {
    *error = "--" + name + " takes a whole number, not '" + text + "'";
    return false;
  }
  *out = value;
  return true;
}

bool Options::only(const std::set<std::string>& allowed, std::string* error) const {
  for (const auto& value : values) {
    if (!allowed.count(value.first)) {
      *error = "'" + command + "' does not take --" + value.first;
      return false;
    }
  }
  return true;
}
