#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "std/archive/archive_registry.h"
#include "std/archive/memory_archive.h"
#include "test_util.h"

namespace {

// An archivable node holding a value and handles to other nodes.
struct Node : lcRepBase, lcPersistent {
  int32_t value = 0;
  std::vector<lcPtrHandle<Node>> children;

  void archive(lcArchive& archive) override {
    archive.transferVersion(1, "node", __LINE__);
    archive.transfer(value);
    archive.transfer(children);
  }
};
[[maybe_unused]] const bool nodeRegistered = lcRegisterArchivable<Node>("test.Node");

struct Unregistered : Node {};

// The start of a node as its archive routine writes it, after the "new object" tag.
void putNode(lcArchive& a, int32_t value, uint32_t children) {
  put(a, uint8_t{1}, std::string("test.Node"), uint32_t{1}, value, children);
}

lcPtrHandle<Node> load(const std::vector<uint8_t>& bytes) {
  lcMemoryArchive archive(bytes);
  lcPtrHandle<Node> node;
  archive.transfer(node);
  return node;
}

TEST(ArchiveObjects, AnObjectReachedTwiceIsStoredOnceAndComesBackShared) {
  auto leaf = lcMakeHandle<Node>();
  leaf->value = 7;
  auto root = lcMakeHandle<Node>();
  root->children = {leaf, leaf, nullptr};

  const std::vector<uint8_t> bytes = storedBytes([&](lcArchive& a) { a.transfer(root); });
  const std::string name = "test.Node";
  int names = 0;
  for (auto at = bytes.begin();
       (at = std::search(at, bytes.end(), name.begin(), name.end())) != bytes.end(); ++at)
    ++names;
  EXPECT_EQ(names, 2);  // the root and the leaf

  const lcPtrHandle<Node> loaded = load(bytes);
  ASSERT_EQ(loaded->children.size(), 3u);
  EXPECT_EQ(loaded->children[0], loaded->children[1]);
  EXPECT_EQ(loaded->children[0]->value, 7);
  EXPECT_FALSE(loaded->children[2]);
}

TEST(ArchiveObjects, RefusesMalformedObjectData) {
  std::vector<uint8_t> tooDeep = storedBytes([](lcArchive& a) {
    for (int depth = 0; depth <= lcArchive::kMaxObjectDepth; ++depth)
      putNode(a, depth, 1);
    put(a, uint8_t{0});
  });
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    uint32_t code;
  };
  const Case cases[] = {
      {"unknown tag", {3}, lcArchive::BadContent::kCode},
      {"reference to nothing", storedBytes([](lcArchive& a) { put(a, uint8_t{2}, 0u); }),
       lcArchive::BadContent::kCode},
      {"reference to itself", storedBytes([](lcArchive& a) {
         putNode(a, 1, 1);
         put(a, uint8_t{2}, 0u);
       }),
       lcArchive::BadContent::kCode},
      {"unknown class",
       storedBytes([](lcArchive& a) { put(a, uint8_t{1}, std::string("test.Nothing")); }),
       lcArchive::UnknownType::kCode},
      {"nested too deeply", tooDeep, lcArchive::BadContent::kCode},
      {"unknown node version",
       storedBytes([](lcArchive& a) { put(a, uint8_t{1}, std::string("test.Node"), 2u); }),
       lcArchive::UnknownVersion::kCode},
  };
  for (const Case& c : cases)
    EXPECT_EQ(thrownCode([&] { load(c.bytes); }), c.code) << c.what;
}

TEST(ArchiveObjects, ClassesAreKnownByTheirRegisteredNameOnly) {
  lcPtrHandle<Node> stranger = lcMakeHandle<Unregistered>();
  EXPECT_THROW(storedBytes([&](lcArchive& a) { a.transfer(stranger); }), lcArchive::UnknownType);

  // A node where another class is expected.
  lcMemoryArchive archive(storedBytes([](lcArchive& a) { putNode(a, 1, 0); }));
  lcPtrHandle<Unregistered> expected;
  EXPECT_THROW(archive.transfer(expected), lcArchive::BadType);

  EXPECT_NO_THROW(lcRegisterArchivable<Node>("test.Node"));
  EXPECT_THROW(lcRegisterArchivable<Node>("test.OtherName"), lcArchive::Duplicate);
  EXPECT_THROW(lcRegisterArchivable<Unregistered>("test.Node"), lcArchive::Duplicate);
}

}  // namespace
