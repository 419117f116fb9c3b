// Objects reached through handles. Each handle is written as a one-byte tag:
//   0  an empty handle;
//   1  an object met for the first time: its registered class name (a string), then
//      whatever the object's own archive routine writes;
//   2  an object met before: the 32-bit index of its first appearance (objects are
//      numbered from 0 in the order they first appear).
#include <optional>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"

namespace {

enum Tag : uint8_t { kEmpty = 0, kNew = 1, kReference = 2 };

std::wstring widen(std::string_view text) {
  std::wstring wide;
  for (char c : text)
    wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;
}

// Counts how deeply objects nest while one is being moved.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) {
    if (depth_ >= lcArchive::kMaxObjectDepth)
      throw lcArchive::BadContent(L"objects nest too deeply");
    ++depth_;
  }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;
  ~DepthGuard() { --depth_; }

 private:
  int& depth_;
};

}  // namespace

void lcArchive::storeObject(lcRepBase* identity, lcPersistent* object) {
  uint8_t tag = kEmpty;
  if (!identity) {
    transfer(tag);
    return;
  }
  if (auto found = stored_.find(identity); found != stored_.end()) {
    tag = kReference;
    uint32_t index = found->second.index;
    transfer(tag);
    transfer(index);
    return;
  }
  std::optional<std::string> name = lcArchivableName(typeid(*identity));
  if (!name) throw UnknownType(L"class not registered: " + widen(typeid(*identity).name()));
  DepthGuard guard(depth_);
  const auto index = static_cast<uint32_t>(stored_.size());
  stored_.emplace(identity, Stored{index, lcPtrHandle<lcRepBase>(identity)});
  tag = kNew;
  transfer(tag);
  transfer(*name);
  object->archive(*this);
}

lcPtrHandle<lcRepBase> lcArchive::loadObject() {
  uint8_t tag = kEmpty;
  transfer(tag);
  if (tag == kEmpty) return {};
  if (tag == kReference) {
    uint32_t index = 0;
    transfer(index);
    // An object still being read cannot be referred to: that would make a cycle.
    if (index >= loaded_.size() || !loaded_[index])
      throw BadContent(L"reference to an object not read before");
    return loaded_[index];
  }
  if (tag != kNew) throw BadContent(L"unknown object tag " + std::to_wstring(tag));

  std::string name;
  transfer(name);
  std::optional<lcArchivableNew> made = lcMakeArchivable(name);
  if (!made) throw UnknownType(L"unknown archived class \"" + widen(name) + L"\"");
  DepthGuard guard(depth_);
  const std::size_t index = loaded_.size();
  loaded_.emplace_back();
  made->persistent->preLoad();
  made->persistent->archive(*this);
  made->persistent->postLoad();
  loaded_[index] = made->object;
  return std::move(made->object);
}
