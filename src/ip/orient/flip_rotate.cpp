#include "ip/orient/flip_rotate.h"

#include "ip/orient/orient_rows.h"
#include "std/pelbuf/pel_bands.h"
#include "std/pelbuf/pel_xform.h"
#include "std/util/kernel_selection.h"

namespace {

// A copy moves some 10 pixels a nanosecond: a band of a million holds the 50
// microseconds of work that make waking a worker worth it.
constexpr lcBandRule kBands{1 << 20, 0};

enum Primitive { kTranspose, kMirrorX, kMirrorY };

struct Operation {
  int count;
  Primitive primitives[3];
  lcOrientRows::Plan plan;
};

// The primitives of each operation in the order they apply, and the one pass that does
// them all (see orient_rows.h).
constexpr Operation kOperations[8] = {
    {0, {}, {false, false, false}},
    {2, {kTranspose, kMirrorX}, {true, false, true}},
    {2, {kMirrorY, kMirrorX}, {false, true, true}},
    {2, {kTranspose, kMirrorY}, {true, true, false}},
    {1, {kMirrorX}, {false, true, false}},
    {3, {kTranspose, kMirrorY, kMirrorX}, {true, true, true}},
    {1, {kMirrorY}, {false, false, true}},
    {1, {kTranspose}, {true, false, false}},
};

const Operation& operationFor(int32_t operation) {
  if (operation < 0 || operation > 7) throw lcPelFunc::BadParams();
  return kOperations[operation];
}

template <class T>
void flipRotate(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
                int32_t operation) {
  const Operation& op = operationFor(operation);
  if (!src.isBound()) throw lcPel::UnboundWindow();
  const lcFlipRotatePlacement place = lcFlipRotatePlace(operation, src.bufferRect());
  lcAllocateDerived(src, dst, place.destination, place.sourceFromDestination);
  lcForEachBand(src, dst, place.destination, kBands, [&](const lcPelBand<T, T>& job) {
    lcRunKernel(
        name,
        [&] {
          lcOrientRows::orientFast(job.in, job.out, job.band.begin, job.band.end, op.plan);
          return int32_t{0};
        },
        [&] {
          for (int32_t j = job.band.begin; j < job.band.end; ++j)
            for (int32_t i = 0; i < job.out.width; ++i)
              job.out[j][i] = lcOrientRows::sourcePel(job.in, i, j, op.plan);
          return int32_t{0};
        });
  });
}

}  // namespace

lcFlipRotatePlacement lcFlipRotatePlace(int32_t operation, const lcPelRect& source) {
  const Operation& op = operationFor(operation);
  lcFlipRotatePlacement place{lc2XformLinear(), source};
  for (int k = 0; k < op.count; ++k) {
    lcPelRect& r = place.destination;
    lc2XformLinear step;
    switch (op.primitives[k]) {
      case kTranspose:
        step = lc2XformLinear(lc2Matrix(0, 1, 1, 0), lc2Vector{0, 0});
        r = lcPelRect{r.y0, r.x0, r.y1, r.x1};
        break;
      case kMirrorX:
        step = lc2XformLinear(lc2Matrix(-1, 0, 0, 1), lc2Vector{double(r.x0) + r.x1, 0});
        break;
      case kMirrorY:
        step = lc2XformLinear(lc2Matrix(1, 0, 0, -1), lc2Vector{0, double(r.y0) + r.y1});
        break;
    }
    // The earlier primitives' map applies after this one's.
    place.sourceFromDestination = place.sourceFromDestination * step;
  }
  return place;
}

void lcFlipRotate(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst, int32_t operation) {
  flipRotate("cip_flipRotate_8", src, dst, operation);
}

void lcFlipRotate(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst, int32_t operation) {
  flipRotate("cip_flipRotate_16", src, dst, operation);
}
