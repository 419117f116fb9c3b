#include "ip/gmorph/grey_morphology.h"

#include <algorithm>
#include <utility>

#include "std/pelbuf/pel_errors.h"
#include "std/pelbuf/pel_take_mask.h"

namespace {

// The composed element's size and centre and how far the origin moves each result.
struct Composed {
  int32_t moveX = 0;
  int32_t moveY = 0;

  explicit Composed(const lcGreyMorphologyParams& params) {
    if (params.passes.empty()) throw lcGMorphDefs::EmptyList();
    int32_t centreX = 0, centreY = 0;
    for (const lcMorphElement& pass : params.passes) {
      lcCheckMorphElement(pass);
      centreX += pass.width / 2;
      centreY += pass.height / 2;
    }
    const int32_t originX = params.originX < 0 ? centreX : params.originX;
    const int32_t originY = params.originY < 0 ? centreY : params.originY;
    if (originX > 2 * centreX || originY > 2 * centreY) throw lcGMorphDefs::BadElement();
    moveX = originX - centreX;
    moveY = originY - centreY;
  }
};

class Morphology {
 public:
  Morphology(const lcGreyMorphologyParams& params) : params_(params), composed_(params) {}

  lcPelBuffer<uint8_t> run(const lcPelBuffer<uint8_t>& src) const {
    if (!src.isBound()) throw lcGMorphDefs::BadImage();
    switch (params_.operation) {
      case lcMorphOperation::Erode:
        return stage(src, true);
      case lcMorphOperation::Dilate:
        return stage(src, false);
      case lcMorphOperation::Open:
        return stage(stage(src, true), false);
      case lcMorphOperation::Close:
        return stage(stage(src, false), true);
      case lcMorphOperation::DilateMinusErode:
        return difference(stage(src, false), stage(src, true));
      case lcMorphOperation::CloseMinusOriginal:
        return difference(stage(stage(src, false), true), src);
      case lcMorphOperation::OriginalMinusOpen:
        return difference(src, stage(stage(src, true), false));
    }
    throw lcGMorphDefs::NotImplemented();
  }

 private:
  // One erosion or dilation: every pass in turn, then the move to the origin.
  lcPelBuffer<uint8_t> stage(const lcPelBuffer<uint8_t>& src, bool erode) const {
    lcPelBuffer<uint8_t> current = src;
    for (const lcMorphElement& pass : params_.passes) {
      lcPelBuffer<uint8_t> next;
      if (params_.imageMask.isBound()) {
        const lcPelBuffer<uint8_t> take = lcTakeMask(params_.imageMask, current.bufferRect());
        lcMorphologyPass(current, next, pass, erode, params_.border, &take);
      } else {
        lcMorphologyPass(current, next, pass, erode, params_.border, nullptr);
      }
      current = std::move(next);
    }
    current.setOffset(current.offsetX() + composed_.moveX, current.offsetY() + composed_.moveY);
    return current;
  }

  static lcPelBuffer<uint8_t> difference(const lcPelBuffer<uint8_t>& a,
                                         const lcPelBuffer<uint8_t>& b) {
    lcPelBuffer<uint8_t> result;
    lcSubtractClamped(a, b, result);
    return result;
  }

  const lcGreyMorphologyParams& params_;
  Composed composed_;
};

}  // namespace

void lcGreyMorphology(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                      const lcGreyMorphologyParams& params) {
  dst = Morphology(params).run(src);
}

void lcSubtractClamped(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                       lcPelBuffer<uint8_t>& dst) {
  lcPelBuffer<uint8_t> minuend = a, subtrahend = b;
  lcIntersectWindows(minuend, subtrahend);
  const lcPelRect common = minuend.bufferRect();
  lcPelBuffer<uint8_t> result;
  result.allocate(common.width(), common.height(), common.x0, common.y0);
  result.setXform(a.xform());
  const lcPelRows<const uint8_t> left = std::as_const(minuend).rows();
  const lcPelRows<const uint8_t> right = std::as_const(subtrahend).rows();
  const lcPelRows<uint8_t> out = result.rows();
  for (int32_t y = 0; y < out.height; ++y)
    for (int32_t x = 0; x < out.width; ++x)
      out[y][x] = static_cast<uint8_t>(std::max(left[y][x] - right[y][x], 0));
  dst = std::move(result);
}
