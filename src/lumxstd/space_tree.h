#pragma once
// The value behind a coordinate-space tree: spaces with names, each below a parent and
// stored with the transform from its own coordinates into its parent's (parent-from-
// space). Index 0 is the root "@". A space with `opensScope` is the root of a tree
// attached below it: names inside it are reached by a path through it ("Merged/Calib")
// and may repeat names of the outer tree.

#include <string>
#include <string_view>
#include <vector>

#include "platform/export.h"
#include "std/archive/archive.h"
#include "std/math/xform_base.h"

namespace lumxstd {

class LUM_VISIBLE SpaceTree {
 public:
  struct Space {
    std::wstring name;
    int parent = -1;
    lc2XformHandle parentFromSpace;
    bool opensScope = false;
  };

  SpaceTree();

  // The index of the space `path` names, or -1.
  int find(std::wstring_view path) const;
  // Adds a space below `parent`; false when the name is not valid or taken there.
  bool add(int parent, std::wstring_view name, lc2XformHandle parentFromSpace);
  // Adds a space below `parent` whose scope holds a copy of `tree`, rooted at the space.
  bool attach(int parent, std::wstring_view name, lc2XformHandle parentFromSpace,
              const SpaceTree& tree);
  // Removes a space (not the root) and all below it.
  void remove(int index);

  // The transform from space `index` into the root.
  lc2XformHandle rootFromSpace(int index) const;
  // The transform from space `source` into space `target`.
  lc2XformHandle transform(int target, int source) const;

  // Every space's path, root first.
  std::vector<std::wstring> paths() const;
  std::size_t size() const { return spaces_.size(); }

  // Versioned core archiving (source "spacetree").
  void archive(lcArchive& archive);

  static bool isValidName(std::wstring_view name);

 private:
  int scopeOf(int index) const;  // the nearest ancestor that opens a scope
  std::wstring pathOf(int index) const;
  bool nameTaken(int scope, std::wstring_view name) const;

  std::vector<Space> spaces_;
};

}  // namespace lumxstd
