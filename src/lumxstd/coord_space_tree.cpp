#include "lumxstd/coord_space_tree.h"

#include "components/framework/core_bytes.h"
#include "lumxstd/transform_objects.h"
#include "platform/safearray.h"
#include "std/archive/memory_archive.h"

namespace lumxstd {
namespace {

int findOrThrow(const SpaceTree& tree, BSTR path) {
  const int index = tree.find(lum::bstrView(path));
  if (index < 0) {
    const std::wstring name(lum::bstrView(path));
    throw lcCOMError::withDescription(kUnknownSpace,
                                      L"The coordinate space \"" + name + L"\" does not exist.");
  }
  return index;
}

}  // namespace

void CLumCoordSpaceTree::setValue(SpaceTree value) {
  lcLockGuard guard(core().lock());
  tree_ = std::move(value);
}

SpaceTree CLumCoordSpaceTree::value() const {
  lcLockGuard guard(const_cast<CLumCoordSpaceTree*>(this)->core().lock());
  return tree_;
}

void CLumCoordSpaceTree::change(const std::function<bool(SpaceTree&)>& edit) {
  {
    lcLockGuard guard(core().lock());
    SpaceTree edited = tree_;
    if (!edit(edited)) return;
    tree_ = std::move(edited);
  }
  core().fireChange(lumCoordSpaceTree_Spaces, lumChangeSetByClient);
}

HRESULT CLumCoordSpaceTree::GetTransform(BSTR target, BSTR source, ILumTransform2D** transform) {
  if (transform == nullptr) return E_POINTER;
  *transform = nullptr;
  return callBoundary(context(L"GetTransform"), [&] {
    const SpaceTree tree = value();
    *transform =
        makeTransformObject(tree.transform(findOrThrow(tree, target), findOrThrow(tree, source)))
            .detach();
  });
}

HRESULT CLumCoordSpaceTree::AddSpace(BSTR parent, BSTR name, ILumTransform2D* parentFromSpace) {
  return callBoundary(context(L"AddSpace"), [&] {
    lc2XformHandle xform = xformOf(parentFromSpace);
    change([&](SpaceTree& tree) {
      if (!tree.add(findOrThrow(tree, parent), lum::bstrView(name), xform))
        throwInvalidArgument(0x80048100, lcMessageArgs(L"Name"));
      return true;
    });
  });
}

HRESULT CLumCoordSpaceTree::AttachTree(BSTR parent, BSTR name, ILumTransform2D* parentFromSpace,
                                       ILumCoordSpaceTree* attached) {
  if (attached == nullptr) return E_POINTER;
  return callBoundary(context(L"AttachTree"), [&] {
    lc2XformHandle xform = xformOf(parentFromSpace);
    const SpaceTree other = spaceTreeOf(attached);
    change([&](SpaceTree& tree) {
      if (!tree.attach(findOrThrow(tree, parent), lum::bstrView(name), xform, other))
        throwInvalidArgument(0x80048100, lcMessageArgs(L"Name"));
      return true;
    });
  });
}

HRESULT CLumCoordSpaceTree::RemoveSpace(BSTR path) {
  return callBoundary(context(L"RemoveSpace"), [&] {
    change([&](SpaceTree& tree) {
      const int index = findOrThrow(tree, path);
      if (index == 0) throw lcCOMError::withDescription(E_INVALIDARG, L"The root stays.");
      tree.remove(index);
      return true;
    });
  });
}

HRESULT CLumCoordSpaceTree::HasSpace(BSTR path, VARIANT_BOOL* exists) {
  if (exists == nullptr) return E_POINTER;
  *exists = value().find(lum::bstrView(path)) >= 0 ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT CLumCoordSpaceTree::get_SpacePaths(VARIANT* paths) {
  if (paths == nullptr) return E_POINTER;
  VariantInit(paths);
  return callBoundary(context(L"get_SpacePaths"), [&] {
    const std::vector<std::wstring> all = value().paths();
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(all.size()));
    if (array == nullptr) throw std::bad_alloc();
    lum::Variant result;
    result.ptr()->vt = VT_ARRAY | VT_BSTR;
    result.ptr()->parray = array;
    for (LONG i = 0; i < static_cast<LONG>(all.size()); ++i)
      throwIfFailed(SafeArrayPutElement(array, &i, lum::Bstr(all[i]).get()));
    result.detachTo(paths);
  });
}

void CLumCoordSpaceTree::persistCustom(ILumArchive& archive, LONG mode) {
  SpaceTree tree = value();
  if (persistCoreBytes(archive, mode, L"Spaces", [&](lcArchive& core) { tree.archive(core); }))
    setValue(std::move(tree));
}

SpaceTree spaceTreeOf(ILumCoordSpaceTree* tree) {
  if (tree == nullptr) return SpaceTree();
  // Only this library's trees exist in this process; any other is refused.
  auto* ours = dynamic_cast<CLumCoordSpaceTree*>(tree);
  if (ours == nullptr)
    throw lcCOMError::withDescription(E_NOINTERFACE, L"A coordinate-space tree of another kind.");
  return ours->value();
}

ComPtr<ILumCoordSpaceTree> makeTreeObject(const SpaceTree& value) {
  auto tree = lum::makeComObject<CLumCoordSpaceTree>();
  throwIfFailed(tree->FinalConstruct());
  tree->setValue(value);
  return tree;
}

}  // namespace lumxstd
