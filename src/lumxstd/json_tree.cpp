#include "lumxstd/json_tree.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <unordered_set>

#include "platform/bstr.h"
#include "std/archive/archive.h"

namespace lumxstd {

JsonNode JsonNode::number(std::string text) {
  JsonNode node;
  node.kind = Kind::Number;
  node.text = std::move(text);
  return node;
}

JsonNode JsonNode::string(std::string text) {
  JsonNode node;
  node.kind = Kind::String;
  node.text = std::move(text);
  return node;
}

JsonNode JsonNode::array() {
  JsonNode node;
  node.kind = Kind::Array;
  return node;
}

JsonNode JsonNode::object() {
  JsonNode node;
  node.kind = Kind::Object;
  return node;
}

const JsonNode* JsonNode::find(std::string_view name) const {
  for (const auto& [key, value] : members)
    if (key == name) return &value;
  return nullptr;
}

JsonNode& JsonNode::add(std::string name, JsonNode value) {
  members.push_back({std::move(name), std::move(value)});
  return members.back().value;
}

namespace {

template <class T>
std::string integerText(T value) {
  char buffer[24];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// Builds the tree from the parser's events; the open containers are a stack of pointers
// into the tree, so that building never recurses.
class TreeBuilder final : public nlohmann::json::json_sax_t {
 public:
  JsonNode root;
  std::string error;  // why parsing stopped, when it did

  bool null() override { return place(JsonNode{}); }
  bool boolean(bool value) override {
    JsonNode node;
    node.kind = JsonNode::Kind::Boolean;
    node.boolean = value;
    return place(std::move(node));
  }
  bool number_integer(number_integer_t value) override {
    return place(JsonNode::number(integerText(value)));
  }
  bool number_unsigned(number_unsigned_t value) override {
    return place(JsonNode::number(integerText(value)));
  }
  bool number_float(number_float_t, const string_t& text) override {
    return place(JsonNode::number(text));
  }
  bool string(string_t& value) override { return place(JsonNode::string(std::move(value))); }
  bool binary(binary_t&) override { return false; }  // JSON text has none
  bool start_object(std::size_t) override { return open(JsonNode::object()); }
  bool key(string_t& name) override {
    if (!names_.back().insert(name).second) {
      error = "the member \"" + name + "\" appears twice in one object";
      return false;
    }
    key_ = std::move(name);
    return true;
  }
  bool end_object() override { return close(); }
  bool start_array(std::size_t) override { return open(JsonNode::array()); }
  bool end_array() override { return close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::json::exception& e) override {
    error = e.what();
    // The library's own prefix says nothing to a user.
    if (const auto at = error.find("] "); at != std::string::npos) error.erase(0, at + 2);
    return false;
  }

 private:
  JsonNode* place(JsonNode node) {
    if (open_.empty()) {
      root = std::move(node);
      return &root;
    }
    JsonNode& parent = *open_.back();
    if (parent.is(JsonNode::Kind::Array)) return &parent.items.emplace_back(std::move(node));
    return &parent.add(std::move(key_), std::move(node));
  }
  bool open(JsonNode node) {
    if (open_.size() >= kMaxJsonDepth) {
      error = "values are nested more than " + std::to_string(kMaxJsonDepth) + " deep";
      return false;
    }
    open_.push_back(place(std::move(node)));
    names_.emplace_back();
    return true;
  }
  bool close() {
    open_.pop_back();
    names_.pop_back();
    return true;
  }

  // Pointers stay valid: a container grows only while it is the innermost one open.
  std::vector<JsonNode*> open_;
  std::vector<std::unordered_set<std::string>> names_;
  std::string key_;
};

void print(const JsonNode& node, int indent, std::string& out);

void printScalar(const JsonNode& node, std::string& out) {
  switch (node.kind) {
    case JsonNode::Kind::Null:
      out += "null";
      break;
    case JsonNode::Kind::Boolean:
      out += node.boolean ? "true" : "false";
      break;
    case JsonNode::Kind::Number:
      out += node.text;
      break;
    default:
      out += nlohmann::json(node.text).dump();
  }
}

// A container that fits a short line is printed on one line.
bool printsOnOneLine(const JsonNode& node, std::string& line) {
  constexpr std::size_t kShortLine = 72;
  const bool isArray = node.is(JsonNode::Kind::Array);
  line += isArray ? "[" : "{";
  const std::size_t count = isArray ? node.items.size() : node.members.size();
  for (std::size_t i = 0; i < count; ++i) {
    const JsonNode& child = isArray ? node.items[i] : node.members[i].value;
    if (i) line += ", ";
    if (!isArray) line += nlohmann::json(node.members[i].name).dump() + ": ";
    if (child.isScalar())
      printScalar(child, line);
    else if (!printsOnOneLine(child, line))
      return false;
    if (line.size() > kShortLine) return false;
  }
  line += isArray ? "]" : "}";
  return true;
}

void print(const JsonNode& node, int indent, std::string& out) {
  if (node.isScalar()) {
    printScalar(node, out);
    return;
  }
  std::string line;
  if (printsOnOneLine(node, line)) {
    out += line;
    return;
  }
  const bool isArray = node.is(JsonNode::Kind::Array);
  const std::string inner(indent + 2, ' ');
  out += isArray ? "[\n" : "{\n";
  const std::size_t count = isArray ? node.items.size() : node.members.size();
  for (std::size_t i = 0; i < count; ++i) {
    out += inner;
    if (!isArray) out += nlohmann::json(node.members[i].name).dump() + ": ";
    print(isArray ? node.items[i] : node.members[i].value, indent + 2, out);
    out += i + 1 < count ? ",\n" : "\n";
  }
  out += std::string(indent, ' ') + (isArray ? "]" : "}");
}

}  // namespace

JsonNode parseJson(std::span<const uint8_t> bytes) {
  TreeBuilder builder;
  if (!nlohmann::json::sax_parse(bytes.begin(), bytes.end(), &builder))
    throw lcArchive::BadFile(L"the text is not a valid job file: " + lum::fromUtf8(builder.error));
  return std::move(builder.root);
}

std::string printJson(const JsonNode& node) {
  std::string out;
  print(node, 0, out);
  out += '\n';
  return out;
}

}  // namespace lumxstd
