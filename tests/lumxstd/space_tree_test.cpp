#include <gtest/gtest.h>

#include <cmath>

#include "lumxstd/coord_space_tree.h"
#include "lumxstd/transform_objects.h"
#include "std/archive/memory_archive.h"
#include "std/math/xform_linear_object.h"
#include "support/error_info_probe.h"

namespace {

using lumxstd::CLumCoordSpaceTree;

ComPtr<ILumTransform2D> linear(double a, double b, double c, double d, double tx, double ty) {
  return lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(a, b, c, d), {tx, ty}));
}

ComPtr<ILumCoordSpaceTree> newTree() {
  ComPtr<ILumCoordSpaceTree> tree;
  EXPECT_EQ(CoCreateInstance(CLSID_LumCoordSpaceTree, nullptr, CLSCTX_ALL, IID_ILumCoordSpaceTree,
                             tree.putVoid()),
            S_OK);
  return tree;
}

lc2Vector map(ILumCoordSpaceTree* tree, const wchar_t* target, const wchar_t* source, lc2Vector p) {
  ComPtr<ILumTransform2D> t;
  EXPECT_EQ(tree->GetTransform(lum::Bstr(target).get(), lum::Bstr(source).get(), t.put()), S_OK);
  lc2Vector out{NAN, NAN};
  if (t) t->MapPoint(p.x, p.y, &out.x, &out.y);
  return out;
}

void expectNear(lc2Vector a, lc2Vector b) {
  EXPECT_NEAR(a.x, b.x, 1e-9);
  EXPECT_NEAR(a.y, b.y, 1e-9);
}

// Root "@" with two branches: A (scale 2) with child A1 (shift +10 in x), and B (rotation
// by 90 degrees). Each space maps its own coordinates into its parent's.
ComPtr<ILumCoordSpaceTree> branchedTree() {
  auto tree = newTree();
  auto bstr = [](const wchar_t* s) { return lum::Bstr(s); };
  EXPECT_EQ(tree->AddSpace(bstr(L"@").get(), bstr(L"A").get(), linear(2, 0, 0, 2, 0, 0).get()),
            S_OK);
  EXPECT_EQ(tree->AddSpace(bstr(L"A").get(), bstr(L"A1").get(), linear(1, 0, 0, 1, 10, 0).get()),
            S_OK);
  EXPECT_EQ(tree->AddSpace(bstr(L"@").get(), bstr(L"B").get(), linear(0, -1, 1, 0, 0, 0).get()),
            S_OK);
  return tree;
}

TEST(SpaceTree, TransformsAcrossBranchesAndBack) {
  auto tree = branchedTree();
  // A1 (1, 1) -> A (11, 1) -> root (22, 2) -> B: inverse of the rotation gives (2, -22).
  const lc2Vector inB = map(tree.get(), L"B", L"A1", {1, 1});
  expectNear(inB, {2, -22});
  expectNear(map(tree.get(), L"A1", L"B", inB), {1, 1});
  expectNear(map(tree.get(), L"@", L"A1", {1, 1}), {22, 2});
  expectNear(map(tree.get(), L"A1", L"A1", {3, 4}), {3, 4});

  ComPtr<ILumTransform2D> none;
  EXPECT_EQ(tree->GetTransform(lum::Bstr(L"Nowhere").get(), lum::Bstr(L"@").get(), none.put()),
            hresultFrom(0x8004E402));
  EXPECT_EQ(
      tree->AddSpace(lum::Bstr(L"B").get(), lum::Bstr(L"A").get(), linear(1, 0, 0, 1, 0, 0).get()),
      E_INVALIDARG)
      << "names are unique within a tree";
  EXPECT_EQ(lumtest::takeErrorInfo().description, L"The value of Name is out of range.")
      << "the message needs no argument beyond the name";
}

TEST(SpaceTree, AttachedTreeKeepsItsNamesBehindAPath) {
  auto outer = branchedTree();
  auto inner = branchedTree();  // the same names: A, A1, B
  // The merged space maps the inner tree's root coordinates into the outer root: +100 in y.
  ASSERT_EQ(outer->AttachTree(lum::Bstr(L"@").get(), lum::Bstr(L"Merged").get(),
                              linear(1, 0, 0, 1, 0, 100).get(), inner.get()),
            S_OK);
  expectNear(map(outer.get(), L"@", L"Merged/A1", {1, 1}), {22, 102});
  // (22, 102) in the outer root is (11, 51) in A, (1, 51) in A1.
  expectNear(map(outer.get(), L"A1", L"Merged/A1", {1, 1}), {1, 51});
  expectNear(map(outer.get(), L"Merged/@", L"Merged", {5, 5}), {5, 5});
  VARIANT_BOOL exists = VARIANT_FALSE;
  outer->HasSpace(lum::Bstr(L"A/A1").get(), &exists);
  EXPECT_EQ(exists, VARIANT_FALSE) << "a path goes only through an attached tree";

  lum::Variant paths;
  ASSERT_EQ(outer->get_SpacePaths(paths.put()), S_OK);
  LONG upper = 0;
  SafeArrayGetUBound(paths.get().parray, 1, &upper);
  EXPECT_EQ(upper + 1, 1 + 3 + 1 + 3);
  LONG last = upper;
  BSTR lastPath = nullptr;
  SafeArrayGetElement(paths.get().parray, &last, &lastPath);
  EXPECT_EQ(lum::bstrView(lastPath), L"Merged/B");
  SysFreeString(lastPath);

  ASSERT_EQ(outer->RemoveSpace(lum::Bstr(L"Merged").get()), S_OK);
  outer->HasSpace(lum::Bstr(L"Merged/A").get(), &exists);
  EXPECT_EQ(exists, VARIANT_FALSE);
  expectNear(map(outer.get(), L"B", L"A1", {1, 1}), {2, -22});  // the outer tree is intact
}

TEST(SpaceTree, SurvivesSavingAndDamagedBytesAreRefused) {
  auto tree = branchedTree();
  ComPtr<ILumObject> copy;
  ASSERT_EQ(tree.as<ILumObject>()->Clone(copy.put()), S_OK);
  expectNear(map(copy.as<ILumCoordSpaceTree>().get(), L"B", L"A1", {1, 1}), {2, -22});

  lumxstd::SpaceTree value = lumxstd::spaceTreeOf(tree.get());
  lcMemoryArchive stored;
  value.archive(stored);
  std::vector<uint8_t> bytes = stored.bytes();
  for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
    lcMemoryArchive truncated(std::span<const uint8_t>(bytes.data(), cut));
    lumxstd::SpaceTree loaded;
    EXPECT_THROW(loaded.archive(truncated), lcException) << cut;
  }
}

TEST(TransformObject, SixValuesComeBackInTheirSlots) {
  ComPtr<ILumTransform2DLinear> t;
  ASSERT_EQ(CoCreateInstance(CLSID_LumTransform2DLinear, nullptr, CLSCTX_ALL,
                             IID_ILumTransform2DLinear, t.putVoid()),
            S_OK);
  ASSERT_EQ(t->SetValues(1, 2, 3, 4, 5, 6), S_OK);
  double v[6] = {};
  ASSERT_EQ(t->GetValues(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]), S_OK);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(v[i], i + 1);
  double x = 0, y = 0;
  t->MapPoint(1, 1, &x, &y);
  EXPECT_EQ(x, 1 + 2 + 5) << "row-major matrix then translation";
  EXPECT_EQ(y, 3 + 4 + 6);
  ComPtr<ILumObject> clone;
  ASSERT_EQ(t.as<ILumObject>()->Clone(clone.put()), S_OK);
  clone.as<ILumTransform2DLinear>()->GetValues(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
  EXPECT_EQ(v[5], 6);
}

}  // namespace
