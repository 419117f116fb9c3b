#pragma once
// What every image of the core object library shares: its place in its coordinate
// spaces (a tree of named spaces, the selected space, the pixel-from-root transform) and
// the transform between any two of its spaces. The pixels are each class's own.
//
// Space names an image resolves: "@" the root, "#" its pixels, "." its selected space,
// anything else a path in its tree.

#include "components/framework/component.h"
#include "components/framework/core_bytes.h"
#include "lumxstd/coord_space_tree.h"
#include "lumxstd/transform_objects.h"
#include "std/archive/memory_archive.h"
#include "std/math/xform_linear_object.h"

namespace lumxstd {

template <class T, class Itf, class... Extra>
class lcImageImpl : public lcStdPersistAndChangeImpl<T, Itf, DIID_ILumChangeEvent, Extra...> {
  using Base = lcStdPersistAndChangeImpl<T, Itf, DIID_ILumChangeEvent, Extra...>;

 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(prop<&lcImageImpl::selected_>(L"SelectedSpaceName", lumImage_SelectedSpaceName)
                         .byDefault(L"@"),
                     persisted<&lcImageImpl::tree_>(L"CoordSpaceTree")));
  }

  HRESULT get_SelectedSpaceName(BSTR* name) override {
    return this->template getProperty<&lcImageImpl::selected_>(name);
  }
  HRESULT put_SelectedSpaceName(BSTR name) override {
    return this->template putProperty<&lcImageImpl::selected_>(name);
  }

  // The tree is copied both ways.
  HRESULT get_CoordSpaceTree(ILumCoordSpaceTree** tree) override {
    if (tree == nullptr) return E_POINTER;
    *tree = nullptr;
    return this->callHere(L"get_CoordSpaceTree",
                          [&] { *tree = makeTreeObject(spaceTree()).detach(); });
  }
  HRESULT put_CoordSpaceTree(ILumCoordSpaceTree* tree) override {
    return this->callHere(L"put_CoordSpaceTree", [&] {
      ComPtr<ILumCoordSpaceTree> copy = makeTreeObject(spaceTreeOf(tree));
      {
        lcLockGuard guard(this->core().lock());
        tree_ = std::move(copy);
      }
      this->core().fireChange(lumImage_CoordSpaceTree, lumChangeSetByClient);
    });
  }

  HRESULT GetTransform(BSTR target, BSTR source, ILumTransform2D** transform) override {
    if (transform == nullptr) return E_POINTER;
    *transform = nullptr;
    return this->callHere(L"GetTransform", [&] {
      const std::wstring to = resolved(lum::bstrView(target));
      const std::wstring from = resolved(lum::bstrView(source));
      // A space to itself is exactly the identity, but only a space that exists.
      if (to == from) requireSpace(to);
      const lc2XformHandle xform =
          to == from ? lcMakeXform(lc2XformLinear()) : targetFromRoot(to)->compose(rootFrom(from));
      *transform = makeTransformObject(xform).detach();
    });
  }

  HRESULT put_PixelFromRootTransform(ILumTransform2D* transform) override {
    if (transform == nullptr) return E_POINTER;
    return this->callHere(L"put_PixelFromRootTransform", [&] {
      lc2XformHandle xform = xformOf(transform);
      {
        lcLockGuard guard(this->core().lock());
        pixelFromRoot_ = std::move(xform);
      }
      this->core().fireChange(lumImage_PixelFromRoot, lumChangeSetByClient);
    });
  }

  HRESULT GetCoordinateInfo(ILumCoordSpaceTree** tree, BSTR* selectedSpace,
                            ILumTransform2D** pixelFromRoot) override {
    if (tree == nullptr || selectedSpace == nullptr || pixelFromRoot == nullptr) return E_POINTER;
    *tree = nullptr, *selectedSpace = nullptr, *pixelFromRoot = nullptr;
    return this->callHere(L"GetCoordinateInfo", [&] {
      lum::Bstr selected;
      lc2XformHandle xform;
      {
        lcLockGuard guard(this->core().lock());
        selected = selected_;
        xform = pixelFromRoot_;
      }
      ComPtr<ILumCoordSpaceTree> treeCopy = makeTreeObject(spaceTree());
      ComPtr<ILumTransform2D> transform = makeTransformObject(xform);
      *tree = treeCopy.detach();
      *selectedSpace = selected.detach();
      *pixelFromRoot = transform.detach();
    });
  }
  HRESULT SetCoordinateInfo(ILumCoordSpaceTree* tree, BSTR selectedSpace,
                            ILumTransform2D* pixelFromRoot) override {
    if (pixelFromRoot == nullptr) return E_POINTER;
    return this->callHere(L"SetCoordinateInfo", [&] {
      ComPtr<ILumCoordSpaceTree> copy = makeTreeObject(spaceTreeOf(tree));
      lum::Bstr selected(lum::bstrView(selectedSpace));
      lc2XformHandle xform = xformOf(pixelFromRoot);
      {
        lcLockGuard guard(this->core().lock());
        tree_ = std::move(copy);
        selected_ = std::move(selected);
        pixelFromRoot_ = std::move(xform);
      }
      this->core().fireChange(lumStateSeveralChanged, lumChangeSetByClient);
    });
  }

  HRESULT get_Width(LONG* width) override {
    if (width == nullptr) return E_POINTER;
    *width = this->self().pixelSize().first;
    return S_OK;
  }
  HRESULT get_Height(LONG* height) override {
    if (height == nullptr) return E_POINTER;
    *height = this->self().pixelSize().second;
    return S_OK;
  }

  // The pixel-from-root transform as core-archive bytes, then the class's pixels.
  void persistCustom(ILumArchive& archive, LONG mode) {
    lc2XformHandle xform = pixelFromRoot();
    if (persistCoreBytes(archive, mode, L"PixelFromRoot",
                         [&](lcArchive& core) { core.transfer(xform); })) {
      if (!xform) throw lcArchive::BadContent(L"an empty pixel-from-root transform");
      lcLockGuard guard(this->core().lock());
      pixelFromRoot_ = std::move(xform);
    }
    this->self().persistPixels(archive, mode);
  }

  lc2XformHandle pixelFromRoot() const {
    lcLockGuard guard(const_cast<lcImageImpl*>(this)->core().lock());
    return pixelFromRoot_;
  }

 protected:
  lcImageImpl() : pixelFromRoot_(lcMakeXform(lc2XformLinear())) {}

  template <class Body>
  HRESULT callHere(const wchar_t* method, Body&& body) {
    return callBoundary(this->context(method), std::forward<Body>(body));
  }

 private:
  SpaceTree spaceTree() const {
    ComPtr<ILumCoordSpaceTree> tree;
    {
      lcLockGuard guard(const_cast<lcImageImpl*>(this)->core().lock());
      tree = tree_;
    }
    return spaceTreeOf(tree.get());
  }

  std::wstring selectedSpace() const {
    lcLockGuard guard(const_cast<lcImageImpl*>(this)->core().lock());
    std::wstring selected = selected_.str();
    return selected.empty() || selected == L"." ? L"@" : selected;
  }

  // A space name with "." replaced by the selected space's name.
  std::wstring resolved(std::wstring_view name) const {
    return name == L"." ? selectedSpace() : std::wstring(name);
  }

  // The transform from space `name` into the root.
  lc2XformHandle rootFrom(std::wstring_view name) const {
    if (name == L".") return rootFrom(selectedSpace());
    if (name == L"#") return pixelFromRoot()->inverse();
    const SpaceTree tree = spaceTree();
    return tree.rootFromSpace(findSpace(tree, name));
  }
  // The transform from the root into space `name`.
  lc2XformHandle targetFromRoot(std::wstring_view name) const {
    if (name == L".") return targetFromRoot(selectedSpace());
    if (name == L"#") return pixelFromRoot();
    if (name == L"@") return lcMakeXform(lc2XformLinear());
    return rootFrom(name)->inverse();
  }
  void requireSpace(std::wstring_view name) const {
    if (name != L"#" && name != L"@") findSpace(spaceTree(), name);
  }
  static int findSpace(const SpaceTree& tree, std::wstring_view name) {
    const int index = tree.find(name);
    if (index < 0)
      throw lcCOMError::withDescription(
          kUnknownSpace, L"The coordinate space \"" + std::wstring(name) + L"\" does not exist.");
    return index;
  }

  lum::Bstr selected_;
  ComPtr<ILumCoordSpaceTree> tree_;
  lc2XformHandle pixelFromRoot_;
};

}  // namespace lumxstd
