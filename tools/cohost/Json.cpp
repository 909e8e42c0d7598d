#include "cohost/Json.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "framework/WideText.h"

Json& Json::push(const Json& value) {
  kind_ = Array;
  items_.push_back(value);
  return items_.back();
}

Json& Json::set(const std::string& key, const Json& value) {
  kind_ = Object;
  for (auto& member : members_)
    if (member.first == key) return member.second = value;
  members_.emplace_back(key, value);
  return members_.back().second;
}

const Json& Json::operator[](const std::string& key) const {
  static const Json none;
  for (const auto& member : members_)
    if (member.first == key) return member.second;
  return none;
}

const Json& Json::operator[](size_t index) const {
  static const Json none;
  return index < items_.size() ? items_[index] : none;
}

namespace {

// Text that is not UTF-8 (a stray byte, an encoded lone surrogate) has each bad sequence
// replaced by U+FFFD, so the document stays valid whatever the registry or a component held.
std::string validText(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return narrowFromWide(wideFromNarrow(text));
  return text;
}

// RFC 8259: the quote, the backslash and control characters escaped, the rest as UTF-8.
void quote(std::string& out, const std::string& raw) {
  const std::string text = validText(raw);
  out += '"';
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

void newline(std::string& out, int indent, int depth) {
  if (indent <= 0) return;
  out += '\n';
  out.append(static_cast<size_t>(indent * depth), ' ');
}

}  // namespace

void Json::dumpTo(std::string& out, int indent, int depth) const {
  switch (kind_) {
    case Null: out += "null"; break;
    case Bool: out += bool_ ? "true" : "false"; break;
    case Number: {
      char text[32];
      if (std::floor(number_) == number_ && std::fabs(number_) < 1e15)
        snprintf(text, sizeof text, "%.0f", number_);
      else
        snprintf(text, sizeof text, "%.17g", number_);
      out += text;
      break;
    }
    case String: quote(out, string_); break;
    case Array:
      out += '[';
      for (size_t i = 0; i < items_.size(); ++i) {
        if (i) out += ',';
        newline(out, indent, depth + 1);
        items_[i].dumpTo(out, indent, depth + 1);
      }
      if (!items_.empty()) newline(out, indent, depth);
      out += ']';
      break;
    case Object:
      out += '{';
      for (size_t i = 0; i < members_.size(); ++i) {
        if (i) out += ',';
        newline(out, indent, depth + 1);
        quote(out, members_[i].first);
        out += indent > 0 ? ": " : ":";
        members_[i].second.dumpTo(out, indent, depth + 1);
      }
      if (!members_.empty()) newline(out, indent, depth);
      out += '}';
      break;
  }
}

std::string Json::dump(int indent) const {
  std::string out;
  dumpTo(out, indent, 0);
  return out;
}

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text), pos_(0) {}

  bool document(Json* out, std::string* error) {
    if (validText(text_) != text_) {  // a JSON text is UTF-8
      if (error) *error = "not UTF-8";
      return false;
    }
    bool ok = value(out, 0) && (skip(), pos_ == text_.size());
    if (!ok && error) *error = "not JSON at offset " + std::to_string(pos_);
    return ok;
  }

 private:
  void skip() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' || text_[pos_] == '\t'))
      ++pos_;
  }
  bool literal(const char* word) {
    size_t n = strlen(word);
    if (text_.compare(pos_, n, word) != 0) return false;
    pos_ += n;
    return true;
  }
  bool value(Json* out, int depth) {
    if (depth > 200) return false;
    skip();
    if (pos_ >= text_.size()) return false;
    char c = text_[pos_];
    if (c == '{') return object(out, depth);
    if (c == '[') return array(out, depth);
    if (c == '"') {
      std::string s;
      if (!string(&s)) return false;
      *out = Json(s);
      return true;
    }
    if (literal("true")) { *out = Json(true); return true; }
    if (literal("false")) { *out = Json(false); return true; }
    if (literal("null")) { *out = Json(); return true; }
    const char* start = text_.c_str() + pos_;
    char* end = nullptr;
    double number = strtod(start, &end);
    if (end == start) return false;
    pos_ += static_cast<size_t>(end - start);
    *out = Json(number);
    return true;
  }
  bool string(std::string* out) {
    ++pos_;
    std::wstring units;  // \u escapes in a row: a surrogate pair is two of them
    auto flush = [&]() {
      *out += narrowFromWide(units);
      units.clear();
    };
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c != '\\' || pos_ >= text_.size() || text_[pos_] != 'u') flush();
      if (c == '"') return true;
      if (c != '\\') { *out += c; continue; }
      if (pos_ >= text_.size()) return false;
      char e = text_[pos_++];
      switch (e) {
        case 'n': *out += '\n'; break;
        case 'r': *out += '\r'; break;
        case 't': *out += '\t'; break;
        case 'b': *out += '\b'; break;
        case 'f': *out += '\f'; break;
        case 'u': {
          if (pos_ + 4 > text_.size()) return false;
          const std::string digits = text_.substr(pos_, 4);
          for (char d : digits)
            if (!isxdigit(static_cast<unsigned char>(d))) return false;
          unsigned long code = strtoul(digits.c_str(), nullptr, 16);
          pos_ += 4;
          units += static_cast<wchar_t>(code);
          break;
        }
        default: *out += e;
      }
    }
    return false;
  }
  bool array(Json* out, int depth) {
    ++pos_;
    *out = Json::array();
    skip();
    if (pos_ < text_.size() && text_[pos_] == ']') { ++pos_; return true; }
    for (;;) {
      Json item;
      if (!value(&item, depth + 1)) return false;
      out->push(item);
      skip();
      if (pos_ >= text_.size()) return false;
      if (text_[pos_] == ',') { ++pos_; continue; }
      if (text_[pos_] == ']') { ++pos_; return true; }
      return false;
    }
  }
  bool object(Json* out, int depth) {
    ++pos_;
    *out = Json::object();
    skip();
    if (pos_ < text_.size() && text_[pos_] == '}') { ++pos_; return true; }
    for (;;) {
      skip();
      std::string key;
      if (pos_ >= text_.size() || text_[pos_] != '"' || !string(&key)) return false;
      skip();
      if (pos_ >= text_.size() || text_[pos_] != ':') return false;
      ++pos_;
      Json item;
      if (!value(&item, depth + 1)) return false;
      out->set(key, item);
      skip();
      if (pos_ >= text_.size()) return false;
      if (text_[pos_] == ',') { ++pos_; continue; }
      if (text_[pos_] == '}') { ++pos_; return true; }
      return false;
    }
  }

  const std::string& text_;
  size_t pos_;
};

}  // namespace

bool Json::parse(const std::string& text, Json* out, std::string* error) {
  Json result;
  Parser parser(text);
  if (!parser.document(&result, error)) return false;
  if (out) *out = result;
  return true;
}
