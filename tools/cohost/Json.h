// A small JSON value: built by the tool for --json output, and parsed back by its tests.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

class Json {
 public:
  enum Kind { Null, Bool, Number, String, Array, Object };

  Json() : kind_(Null), bool_(false), number_(0) {}
  Json(bool value) : kind_(Bool), bool_(value), number_(0) {}            // NOLINT
  Json(int value) : kind_(Number), bool_(false), number_(value) {}       // NOLINT
  Json(long value) : kind_(Number), bool_(false), number_(value) {}      // NOLINT
  Json(double value) : kind_(Number), bool_(false), number_(value) {}    // NOLINT
  Json(const char* value) : kind_(String), bool_(false), number_(0), string_(value ? value : "") {}  // NOLINT
  Json(const std::string& value) : kind_(String), bool_(false), number_(0), string_(value) {}       // NOLINT
  static Json array() { Json j; j.kind_ = Array; return j; }
  static Json object() { Json j; j.kind_ = Object; return j; }

  Kind kind() const { return kind_; }
  bool asBool() const { return bool_; }
  double asNumber() const { return number_; }
  const std::string& asString() const { return string_; }
  const std::vector<Json>& items() const { return items_; }
  // Members in insertion order.
  const std::vector<std::pair<std::string, Json>>& members() const { return members_; }

  Json& push(const Json& value);
  Json& set(const std::string& key, const Json& value);
  // The member 'key', or a null value.
  const Json& operator[](const std::string& key) const;
  const Json& operator[](size_t index) const;
  size_t size() const { return kind_ == Array ? items_.size() : members_.size(); }

  // Compact when indent is 0, else pretty with that many blanks per level.
  std::string dump(int indent = 2) const;
  // Parses a whole text; false (and 'error' set) when it is not JSON.
  static bool parse(const std::string& text, Json* out, std::string* error);

 private:
  void dumpTo(std::string& out, int indent, int depth) const;

  Kind kind_;
  bool bool_;
  double number_;
  std::string string_;
  std::vector<Json> items_;
  std::vector<std::pair<std::string, Json>> members_;
};
