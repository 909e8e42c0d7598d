#include "cohost/Options.h"
#include <cerrno>
#include <cstdlib>

const std::set<std::string>& Options::valueOptions() {
  static const std::set<std::string> names = {"filter", "parent", "file", "server", "view", "match"};
  return names;
}

bool Options::parse(const std::vector<std::string>& arguments, Options* out, std::string* error) {
  Options options;
  std::string first;  // the first fault; kept until the whole line has been read for a help request
  const size_t argc = arguments.size();
  for (size_t i = 0; i < argc; ++i) {
    const std::string& arg = arguments[i];
    if (arg == "--help" || arg == "-h" || (arg == "help" && options.command.empty())) {
      options.help = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--batch") {
      options.batch = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      const std::string name = arg.compare(0, 2, "--") == 0 ? arg.substr(2) : std::string();
      if (!valueOptions().count(name)) {
        if (first.empty()) first = "unknown option " + arg;
      } else if (i + 1 >= argc) {
        if (first.empty()) first = "option " + arg + " needs a value";
      } else if (!options.values.emplace(name, arguments[++i]).second) {
        if (first.empty()) first = "option " + arg + " is given twice";
      }
    } else if (options.command.empty()) {
      options.command = arg;
    } else {
      options.positional.push_back(arg);
    }
  }
  if (!first.empty() && !options.help) {
    *error = first;
    return false;
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
  // Digits only, read as decimal: "010" is ten, and strtol's sign, blanks and 0x do not pass.
  bool digits = !text.empty();
  for (char c : text) digits = digits && c >= '0' && c <= '9';
  errno = 0;
  const long value = digits ? strtol(text.c_str(), nullptr, 10) : 0;
  if (!digits || errno == ERANGE) {
    const bool negative =
        text.size() > 1 && text[0] == '-' && text.find_first_not_of("0123456789", 1) == std::string::npos;
    *error = "--" + name + (negative ? " takes no negative number, not '" : " takes a whole number, not '") + text +
             "'";
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
