#pragma once
// LumCoordSpaceTree: the coordinate-space tree component over a SpaceTree value.

#include <functional>

#include "components/framework/component.h"
#include "lumxstd/space_tree.h"

namespace lumxstd {

class LUM_VISIBLE CLumCoordSpaceTree final
    : public lcStdPersistAndChangeImpl<CLumCoordSpaceTree, ILumCoordSpaceTree> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumCoordSpaceTree, L"CLumCoordSpaceTree",
                                             L"Halvex.LumCoordSpaceTree", 1,
                                             L"Tree of named coordinate spaces"};
  static constexpr auto ownMembers() { return lum::members(); }

  HRESULT GetTransform(BSTR target, BSTR source, ILumTransform2D** transform) override;
  HRESULT AddSpace(BSTR parent, BSTR name, ILumTransform2D* parentFromSpace) override;
  HRESULT AttachTree(BSTR parent, BSTR name, ILumTransform2D* parentFromSpace,
                     ILumCoordSpaceTree* tree) override;
  HRESULT RemoveSpace(BSTR path) override;
  HRESULT HasSpace(BSTR path, VARIANT_BOOL* exists) override;
  HRESULT get_SpacePaths(VARIANT* paths) override;

  // The spaces kept as core-archive bytes ("Spaces").
  void persistCustom(ILumArchive& archive, LONG mode);

  SpaceTree value() const;
  // Replaces the spaces without a change event (for trees being made).
  void setValue(SpaceTree value);

 private:
  void change(const std::function<bool(SpaceTree&)>& edit);
  SpaceTree tree_;
};

// The space tree value of a tree object of this library (E_NOINTERFACE for another kind;
// null gives a tree of the root alone).
LUM_VISIBLE SpaceTree spaceTreeOf(ILumCoordSpaceTree* tree);
// A new tree object holding `value`.
LUM_VISIBLE ComPtr<ILumCoordSpaceTree> makeTreeObject(const SpaceTree& value);

// 0x8004E402: a coordinate space or region that does not fit.
inline constexpr HRESULT kUnknownSpace = hresultFrom(0x8004E402);

}  // namespace lumxstd
