#include "lumxstd/space_tree.h"

#include <algorithm>

#include "std/math/xform_linear_object.h"

namespace lumxstd {

SpaceTree::SpaceTree() {
  spaces_.push_back({L"@", -1, lcMakeXform(lc2XformLinear()), true});
}

bool SpaceTree::isValidName(std::wstring_view name) {
  return !name.empty() && name != L"@" && name != L"#" && name != L"." &&
         name.find(L'/') == std::wstring_view::npos;
}

int SpaceTree::scopeOf(int index) const {
  for (int p = spaces_[index].parent; p >= 0; p = spaces_[p].parent)
    if (spaces_[p].opensScope) return p;
  return 0;
}

bool SpaceTree::nameTaken(int scope, std::wstring_view name) const {
  for (int i = 1; i < static_cast<int>(spaces_.size()); ++i)
    if (spaces_[i].name == name && scopeOf(i) == scope) return true;
  return false;
}

int SpaceTree::find(std::wstring_view path) const {
  int scope = 0, found = -1;
  while (true) {
    const auto slash = path.find(L'/');
    const std::wstring_view segment = path.substr(0, slash);
    found = -1;
    if (segment == L"@") {
      found = scope;
    } else {
      for (int i = 1; i < static_cast<int>(spaces_.size()) && found < 0; ++i)
        if (spaces_[i].name == segment && scopeOf(i) == scope) found = i;
    }
    if (found < 0 || slash == std::wstring_view::npos) return found;
    if (!spaces_[found].opensScope) return -1;  // "A/B" needs a tree attached at A
    scope = found;
    path.remove_prefix(slash + 1);
  }
}

bool SpaceTree::add(int parent, std::wstring_view name, lc2XformHandle parentFromSpace) {
  if (parent < 0 || parent >= static_cast<int>(spaces_.size()) || !isValidName(name)) return false;
  const int scope = spaces_[parent].opensScope ? parent : scopeOf(parent);
  if (nameTaken(scope, name)) return false;
  spaces_.push_back({std::wstring(name), parent, std::move(parentFromSpace), false});
  return true;
}

bool SpaceTree::attach(int parent, std::wstring_view name, lc2XformHandle parentFromSpace,
                       const SpaceTree& tree) {
  if (!add(parent, name, std::move(parentFromSpace))) return false;
  const int base = static_cast<int>(spaces_.size()) - 1;
  spaces_[base].opensScope = true;
  // The attached root becomes the new space; its other spaces follow, parents shifted.
  for (std::size_t i = 1; i < tree.spaces_.size(); ++i) {
    Space copy = tree.spaces_[i];
    copy.parent = copy.parent == 0 ? base : copy.parent + base;
    spaces_.push_back(std::move(copy));
  }
  return true;
}

void SpaceTree::remove(int index) {
  if (index <= 0 || index >= static_cast<int>(spaces_.size())) return;
  std::vector<bool> removed(spaces_.size(), false);
  removed[index] = true;
  for (std::size_t i = index + 1; i < spaces_.size(); ++i)  // parents come before children
    removed[i] = spaces_[i].parent >= 0 && removed[spaces_[i].parent];
  std::vector<int> newIndex(spaces_.size(), -1);
  std::vector<Space> kept;
  for (std::size_t i = 0; i < spaces_.size(); ++i) {
    if (removed[i]) continue;
    newIndex[i] = static_cast<int>(kept.size());
    kept.push_back(std::move(spaces_[i]));
  }
  for (Space& s : kept)
    if (s.parent >= 0) s.parent = newIndex[s.parent];
  spaces_ = std::move(kept);
}

lc2XformHandle SpaceTree::rootFromSpace(int index) const {
  if (index == 0) return spaces_[0].parentFromSpace;
  lc2XformHandle result = spaces_[index].parentFromSpace;
  for (int p = spaces_[index].parent; p > 0; p = spaces_[p].parent)
    result = spaces_[p].parentFromSpace->compose(result);  // the parent's map after this one
  return result;
}

lc2XformHandle SpaceTree::transform(int target, int source) const {
  if (target == source) return lcMakeXform(lc2XformLinear());
  const lc2XformHandle rootFromSource = rootFromSpace(source);
  if (target == 0) return rootFromSource;
  return rootFromSpace(target)->inverse()->compose(rootFromSource);
}

std::wstring SpaceTree::pathOf(int index) const {
  if (index == 0) return L"@";
  const int scope = scopeOf(index);
  return scope == 0 ? spaces_[index].name : pathOf(scope) + L"/" + spaces_[index].name;
}

std::vector<std::wstring> SpaceTree::paths() const {
  std::vector<std::wstring> result;
  for (int i = 0; i < static_cast<int>(spaces_.size()); ++i)
    result.push_back(pathOf(i));
  return result;
}

void SpaceTree::archive(lcArchive& archive) {
  archive.transferVersion(1, "spacetree", __LINE__);
  uint64_t count = spaces_.size();
  // A space takes at least a name length, a parent, a flag and a handle tag.
  archive.transferCount(count, 4 + 4 + 1 + 1);
  std::vector<Space> spaces = archive.isStoring() ? spaces_ : std::vector<Space>(count);
  for (std::size_t i = 0; i < spaces.size(); ++i) {
    Space& s = spaces[i];
    uint64_t length = s.name.size();
    archive.transferCount(length, 4);
    if (archive.isLoading()) s.name.assign(length, L'\0');
    for (wchar_t& c : s.name) {
      uint32_t unit = static_cast<uint32_t>(c);
      archive.transfer(unit);
      c = static_cast<wchar_t>(unit);
    }
    int32_t parent = s.parent;
    archive.transfer(parent);
    uint8_t opens = s.opensScope;
    archive.transfer(opens);
    archive.transfer(s.parentFromSpace);
    if (archive.isLoading()) {
      // Parents come before their children; the root has none; every space has a map.
      if ((i == 0) != (parent == -1) || parent >= static_cast<int32_t>(i) || !s.parentFromSpace)
        throw lcArchive::BadContent(L"a damaged coordinate-space tree");
      s.parent = parent;
      s.opensScope = opens != 0;
    }
  }
  if (archive.isLoading()) {
    if (spaces.empty()) throw lcArchive::BadContent(L"a coordinate-space tree without root");
    spaces_ = std::move(spaces);
  }
}

}  // namespace lumxstd
