#pragma once
// What the two-image operator and tool tests share: operators made by class, images with
// a calibrated space, regions and transforms.

#include <gtest/gtest.h>

#include "lumxip/HalvexImageProcessing.h"
#include "support/core_objects.h"
#include "support/test_images.h"

namespace lumtest {

inline ComPtr<ILumTransform2DLinear> linear(double a, double b, double c, double d, double tx,
                                            double ty) {
  auto transform = create<ILumTransform2DLinear>(CLSID_LumTransform2DLinear);
  transform->SetValues(a, b, c, d, tx, ty);
  return transform;
}

inline ComPtr<ILumRegion> rectangle(double x, double y, double width, double height) {
  auto region = create<ILumRectangle>(CLSID_LumRectangle);
  region->put_X(x), region->put_Y(y), region->put_Width(width), region->put_Height(height);
  return region.as<ILumRegion>();
}

// Gives `image` a space `name` below its root: root = 2 * name + (3, 5).
inline void addCalibratedSpace(ILumImage* image, const wchar_t* name) {
  ComPtr<ILumCoordSpaceTree> tree;
  image->get_CoordSpaceTree(tree.put());
  EXPECT_EQ(
      tree->AddSpace(lum::Bstr(L"@").get(), lum::Bstr(name).get(), linear(2, 0, 0, 2, 3, 5).get()),
      S_OK);
  image->put_CoordSpaceTree(tree.get());
}

// Where `image` maps point (x, y) of space `source` into space `target`.
inline std::pair<double, double> mapped(ILumImage* image, const wchar_t* target,
                                        const wchar_t* source, double x, double y) {
  ComPtr<ILumTransform2D> transform;
  EXPECT_EQ(image->GetTransform(lum::Bstr(target).get(), lum::Bstr(source).get(), transform.put()),
            S_OK);
  std::pair<double, double> point{NAN, NAN};
  if (transform) transform->MapPoint(x, y, &point.first, &point.second);
  return point;
}

}  // namespace lumtest
