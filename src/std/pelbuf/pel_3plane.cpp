#include "std/pelbuf/pel_3plane.h"

#include "std/except/exception.h"
#include "std/pelbuf/pel_errors.h"

lc3PlanePelRoot::lc3PlanePelRoot(int32_t width, int32_t height, int32_t alignment) {
  for (PlaneHandle& plane : planes_)
    plane = lcMakeHandle<lcPelRoot<uint8_t>>(width, height, alignment);
  setSize(width, height);
}

lc3PlanePelRoot::lc3PlanePelRoot(PlaneHandle plane0, PlaneHandle plane1, PlaneHandle plane2)
    : planes_{std::move(plane0), std::move(plane1), std::move(plane2)} {
  for (const PlaneHandle& plane : planes_) {
    if (!plane) throw lcBadPointer(L"empty plane handle");
    if (plane->width() != planes_[0]->width() || plane->height() != planes_[0]->height())
      throw lcPel::BadWindow(L"the planes' roots differ in size");
  }
  setSize(planes_[0]->width(), planes_[0]->height());
}

const lc3PlanePelRoot::PlaneHandle& lc3PlanePelRoot::plane(int number) const {
  if (number < 0 || number > 2) throw lcPelFunc::BadParams(L"a plane number is 0, 1 or 2");
  return planes_[static_cast<std::size_t>(number)];
}

namespace {

// One transform object, or linear ones of equal values (kernels may make a new object
// per plane); non-linear transforms of different objects cannot be compared.
bool sameXform(const lc2XformCache& a, const lc2XformCache& b) {
  if (a.xform() == b.xform()) return true;
  return a.isLinear() && b.isLinear() && a.linear() == b.linear();
}

}  // namespace

lcPelMemoryPlanes lc3PlanePelRoot::memory() const {
  lcPelMemoryPlanes memory;
  for (const PlaneHandle& plane : planes_) {
    const lcPelMemoryPlanes own = plane->memory();
    if (own.count == 1) memory.planes[static_cast<std::size_t>(memory.count++)] = own.planes[0];
  }
  return memory;
}

lc3PlanePelBuffer lc3PlanePelBuffer::join(const lcPelBuffer<uint8_t>& plane0,
                                          const lcPelBuffer<uint8_t>& plane1,
                                          const lcPelBuffer<uint8_t>& plane2) {
  if (!plane0.isBound() || !plane1.isBound() || !plane2.isBound()) throw lcPel::UnboundWindow();
  // The joined buffer has one view; a plane placed elsewhere would silently take plane 0's
  // place, so windows, offsets and transforms must agree.
  for (const lcPelBuffer<uint8_t>* plane : {&plane1, &plane2}) {
    if (plane->window() != plane0.window()) throw lcPel::BadWindow(L"the planes' windows differ");
    if (plane->bufferRect() != plane0.bufferRect())
      throw lcPel::BadWindow(L"the planes' offsets differ");
    if (!sameXform(plane->xform(), plane0.xform()))
      throw lcPel::BadWindow(L"the planes' transforms differ");
  }
  lc3PlanePelBuffer joined(
      lcMakeHandle<lc3PlanePelRoot>(plane0.rootHandle(), plane1.rootHandle(), plane2.rootHandle()));
  joined.takeViewOf(plane0);
  return joined;
}

lc3PlanePelRoot& lc3PlanePelBuffer::root() const {
  if (!isBound()) throw lcPel::UnboundWindow();
  return static_cast<lc3PlanePelRoot&>(*rootBase());
}

void lc3PlanePelBuffer::allocate(int32_t width, int32_t height, int32_t offsetX, int32_t offsetY,
                                 int32_t alignment) {
  allocateWith(width, height, offsetX, offsetY,
               [&] { return lcMakeHandle<lc3PlanePelRoot>(width, height, alignment); });
}

lcPelBuffer<uint8_t> lc3PlanePelBuffer::plane(int number) const {
  lcPelBuffer<uint8_t> plane(root().plane(number));
  plane.takeViewOf(*this);
  return plane;
}
