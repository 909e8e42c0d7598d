// The tool's command line: a command, its positional arguments and its --options.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

struct Options {
  std::string command;
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // --name value
  bool json = false;
  bool batch = false;
  bool help = false;     // --help, -h or the command "help" anywhere: nothing else matters
  bool version = false;  // --version

  // Options that take a value, and flags.
  static const std::set<std::string>& valueOptions();
  // The arguments after the program name, as UTF-8. A help request wins over any error.
  static bool parse(const std::vector<std::string>& arguments, Options* out, std::string* error);

  bool has(const std::string& name) const { return values.count(name) != 0; }
  std::string get(const std::string& name, const std::string& fallback = std::string()) const;
  // A decimal whole number of 0 or more; false with 'error' set when present but not one.
  bool number(const std::string& name, long fallback, long* out, std::string* error) const;
  // Fails with 'error' when an option is present that the command does not take.
  bool only(const std::set<std::string>& allowed, std::string* error) const;
};
