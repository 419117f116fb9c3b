#include "std/pelbuf/pel_xform.h"

#include "std/math/xform_linear_object.h"

lc2XformCache lcDerivedXform(const lc2XformCache& source,
                             const lc2XformLinear& sourceFromDestination) {
  return lc2XformCache(lcMakeXform(sourceFromDestination.inverse())->compose(source.xform()));
}
