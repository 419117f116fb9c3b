#pragma once
// JSON documents as the text encoding of the persistence service reads and writes them:
// a tree whose objects keep their members in order, whose numbers keep the text they
// were written with (so a value's type decides how it is read, not the parser), parsed
// from untrusted bytes with a bounded depth and no duplicate member names, and printed
// with two-space indents and short containers on one line.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumxstd {

struct JsonMember;

struct JsonNode {
  enum class Kind { Null, Boolean, Number, String, Array, Object };

  Kind kind = Kind::Null;
  bool boolean = false;
  std::string text;  // a string's UTF-8, a number's text
  std::vector<JsonNode> items;
  std::vector<JsonMember> members;  // a named struct: clang 14 refuses a pair of an incomplete type

  static JsonNode number(std::string text);
  static JsonNode string(std::string text);
  static JsonNode array();
  static JsonNode object();

  bool is(Kind k) const { return kind == k; }
  bool isScalar() const { return kind != Kind::Array && kind != Kind::Object; }
  // The member named `name` of an object; null when absent.
  const JsonNode* find(std::string_view name) const;
  JsonNode& add(std::string name, JsonNode value);
};

struct JsonMember {
  std::string name;
  JsonNode value;
};

// Containers deeper than this are refused while parsing: far more than the deepest
// document the object nesting limit lets through, and the tree is freed recursively.
inline constexpr int kMaxJsonDepth = 512;

// Parses a whole document: one value, with nothing but whitespace after it. Throws
// lcArchive::BadFile saying where the text is wrong.
JsonNode parseJson(std::span<const uint8_t> bytes);

// The document's text, ending with a newline.
std::string printJson(const JsonNode& node);

}  // namespace lumxstd
