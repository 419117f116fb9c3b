#include "components/affine/polar_unwrap.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "components/bridge/image_bridge.h"
#include "components/bridge/one_image_frame.h"
#include "ip/affine/polar_sampling.h"
#include "lumxip/ip/result_codes.h"
#include "std/shapes/ellipse.h"

namespace {

constexpr uint32_t kMessageSectionTooSmall = 0x8004811D;
constexpr double kSmallestMeasure = 0.001;
constexpr double kTurn = 2 * std::numbers::pi;

// The section in the input's pixel space, the map there from the region's space, and the
// output size.
struct Unwrap {
  lcEllipseAnnulusSection section;
  lc2XformLinear pixelsFromRegion;
  int32_t width = 1, height = 1;
};

double readProperty(ILumEllipticalAnnulusSection* region,
                    HRESULT (ILumEllipticalAnnulusSection::*get)(double*)) {
  double value = 0;
  throwIfFailed((region->*get)(&value));
  return value;
}

lcEllipseAnnulusSection sectionOf(ILumEllipticalAnnulusSection* r) {
  using I = ILumEllipticalAnnulusSection;
  lcEllipseAxes axes;
  axes.centre = {readProperty(r, &I::get_CenterX), readProperty(r, &I::get_CenterY)};
  axes.radiusX = readProperty(r, &I::get_RadiusX);
  axes.radiusY = readProperty(r, &I::get_RadiusY);
  axes.rotation = readProperty(r, &I::get_Rotation);
  VARIANT_BOOL fromStart = VARIANT_TRUE, fromBase = VARIANT_TRUE;
  throwIfFailed(r->get_AngleFromStart(&fromStart));
  throwIfFailed(r->get_RadialFromBase(&fromBase));
  return lcEllipseAnnulusSection(lcEllipseFromAxes(axes), readProperty(r, &I::get_RadialScale),
                                 readProperty(r, &I::get_StartAngle),
                                 readProperty(r, &I::get_EndAngle), fromStart != VARIANT_FALSE,
                                 fromBase != VARIANT_FALSE);
}

// The semi-axes of the ellipse E maps the unit circle onto: the singular values of its
// matrix, larger first.
std::pair<double, double> semiAxes(const lc2Matrix& m) {
  const double sum = m.a() * m.a() + m.b() * m.b() + m.c() * m.c() + m.d() * m.d();
  const double root = std::sqrt(std::max(0.0, sum * sum - 4 * m.det() * m.det()));
  return {std::sqrt((sum + root) / 2), std::sqrt(std::max(0.0, (sum - root) / 2))};
}

// The length of the base ellipse's arc over the span, by Simpson's rule.
double arcLength(const lcEllipseAnnulusSection& s) {
  constexpr int kSteps = 2048;
  const lc2Matrix& m = s.unitCircle().matrix();
  const double a = s.startAngle(), h = (s.endAngle() - a) / kSteps;
  const auto speed = [&](double t) {
    const lc2Vector v = m * lc2Vector{-std::sin(t), std::cos(t)};
    return std::hypot(v.x, v.y);
  };
  double sum = speed(a) + speed(a + kSteps * h);
  for (int k = 1; k < kSteps; ++k)
    sum += (k % 2 ? 4 : 2) * speed(a + k * h);
  return std::fabs(sum * h / 3);
}

// The radial thickness: along the first axis for a circular second boundary, else the
// largest gap between the boundaries, measured along the ray from the centre, among the
// span's end directions and the axis directions inside it.
double thickness(const lcEllipseAnnulusSection& s) {
  const lc2Matrix& m = s.unitCircle().matrix();
  const double gap = std::fabs(s.secondScale() - 1);
  const auto [major, minor] = semiAxes(m);
  const auto along = [&](double t) {
    const lc2Vector v = m * lc2Vector{std::cos(t), std::sin(t)};
    return gap * std::hypot(v.x, v.y);
  };
  if (s.secondScale() * (major - minor) <= kSmallestMeasure) return along(0);
  const double low = std::min(s.startAngle(), s.endAngle());
  const double high = std::max(s.startAngle(), s.endAngle());
  double largest = std::max(along(low), along(high));
  for (int quarter = 0; quarter < 4; ++quarter) {
    const double axis = quarter * kTurn / 4;
    const double first = axis + kTurn * std::ceil((low - axis) / kTurn);
    if (first <= high) largest = std::max(largest, along(first));
  }
  return largest;
}

int32_t outputSize(double measure, double scaling, HRESULT overflow) {
  const double size = std::max(1.0, std::trunc(measure * scaling + 0.5));
  if (!(size <= 32767)) throw lcCOMError(overflow, 0);
  return static_cast<int32_t>(size);
}

Unwrap unwrapOf(ILumImage* input, ILumRegion* region, const lcPolarUnwrapFields& p) {
  if (input == nullptr) throw lcCOMError(kNoInputImage, 0);
  if (region == nullptr) throw lcCOMError(e_LumIP_PolarUnwrapNullRegion, 0);
  ComPtr<ILumEllipticalAnnulusSection> annulus;
  region->QueryInterface(iid_of<ILumEllipticalAnnulusSection>, annulus.putVoid());
  if (!annulus) throw lcCOMError(e_LumIP_PolarUnwrapInvalidRegion, 0);
  lum::Bstr space;
  throwIfFailed(region->get_SelectedSpaceName(space.put()));
  ComPtr<ILumTransform2D> toPixels;
  throwIfFailed(input->GetTransform(lum::Bstr(L"#").get(), space.get(), toPixels.put()));
  Unwrap u{sectionOf(annulus.get()), lcRequireLinear(toPixels.get())};
  u.section = *lcHandleCast<lcEllipseAnnulusSection>(u.section.map(u.pixelsFromRegion));
  const double minor = semiAxes(u.section.unitCircle().matrix()).second;
  if (minor < kSmallestMeasure || u.section.secondScale() * minor < kSmallestMeasure)
    throw lcCOMError(kRegionDoesNotFit, 0, kMessageSectionTooSmall);
  const double middle = (1 + u.section.secondScale()) / 2;
  u.width =
      outputSize(middle * arcLength(u.section), p.ScalingX, e_LumIP_PolarUnwrapSamplingXOverflow);
  u.height = outputSize(thickness(u.section), p.ScalingY, e_LumIP_PolarUnwrapSamplingYOverflow);
  return u;
}

template <class T>
lcPelBuffer<T> unwrapped(const lcPelBuffer<T>& src, const lcPolarSamplingParams& params) {
  lcPelBuffer<T> out;
  lcPolarUnwrap(src, out, params);
  return out;
}

LONG revolutionOf(const VARIANT& revolution) {
  if (revolution.vt == VT_EMPTY || revolution.vt == VT_ERROR) return 0;
  lum::Variant value;
  if (FAILED(VariantChangeType(value.ptr(), &revolution, 0, VT_I4)))
    throw lcCOMError(e_LumIP_PolarUnwrapInvalidMapPoint, 0);
  return value.ptr()->lVal;
}

}  // namespace

lcPolarUnwrapFields CLumPolarUnwrap::fields() {
  lcLockGuard guard(core().lock());
  return static_cast<const lcPolarUnwrapFields&>(*this);
}

HRESULT CLumPolarUnwrap::Execute(ILumImage* input, ILumRegion* region, ILumImage** output) {
  if (HRESULT hr = lcClearOutPointers(output); FAILED(hr)) return hr;
  return callBoundary(context(L"Execute"), [&] {
    const lcPolarUnwrapFields p = fields();
    if (input == nullptr) throw lcCOMError(kNoInputImage, 0);
    const lcImageFormat format = lcChooseImageFormat(
        input, lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatPlanar24);
    if (format == lcImageFormatNone) throw lcCOMError(kUnsupportedPixelFormat, 0);
    const lcImageRequest whole{input, lumRegionModePixelAlignedBoundingBox, nullptr};
    const Unwrap u = unwrapOf(input, region, p);
    const lcPolarSamplingParams params(u.section, u.width, u.height,
                                       p.SamplingMode == lumPolarUnwrapSamplingModeNearestNeighbor
                                           ? lcPolarSamplingParams::kNearest
                                           : lcPolarSamplingParams::kBilinear);
    const auto checkClip = [&](const lcPelFrame& buffer) {
      if (lcPolarIsClipped(params, buffer)) throw lcCOMError(e_LumIP_PolarUnwrapRegionClipped, 0);
    };
    ComPtr<ILumImage> image;
    if (format == lcImageFormatGrey8) {
      const lcPelBuffer<uint8_t> src = lcInputBuffer8(whole);
      checkClip(src);
      image = lcOutputImage8(unwrapped(src, params), nullptr);
    } else if (format == lcImageFormatGrey16) {
      const lcPelBuffer<uint16_t> src = lcInputBuffer16(whole);
      checkClip(src);
      image = lcOutputImage16(unwrapped(src, params), nullptr);
      lum::detail::copyPixelDepth<ILumImage16Grey>(input, image.get());
    } else {
      const lc3PlanePelBuffer src = lcInputBuffer24(whole);
      checkClip(src);
      lc3PlanePelBuffer out =
          lc3PlanePelBuffer::join(unwrapped(src.plane(0), params), unwrapped(src.plane(1), params),
                                  unwrapped(src.plane(2), params));
      out.setColorSpace(src.colorSpace());
      image = lcOutputImage24(out, nullptr);
    }
    *output = image.detach();
  });
}

HRESULT CLumPolarUnwrap::GetInputPointFromOutputPoint(ILumImage* input, ILumRegion* region,
                                                      double outputX, double outputY,
                                                      double* inputX, double* inputY) {
  if (HRESULT hr = lcClearOutPointers(inputX, inputY); FAILED(hr)) return hr;
  return callBoundary(context(L"GetInputPointFromOutputPoint"), [&] {
    const Unwrap u = unwrapOf(input, region, fields());
    if (!std::isfinite(outputX) || !std::isfinite(outputY))
      throw lcCOMError(e_LumIP_PolarUnwrapInvalidMapPoint, 0);
    const lc2Vector pixel = u.section.pointAt(outputX / u.width, outputY / u.height);
    const lc2Vector point = u.pixelsFromRegion.inverse().mapPoint(pixel);
    *inputX = point.x;
    *inputY = point.y;
  });
}

// The inverse of pointAt: the radial scale and angle of the point in the base ellipse's
// frame give v and u; the angle is taken in the span's direction from its start, within
// one turn, and the revolution adds whole turns of output columns.
HRESULT CLumPolarUnwrap::GetOutputPointFromInputPoint(ILumImage* input, ILumRegion* region,
                                                      double inputX, double inputY,
                                                      VARIANT revolution, double* outputX,
                                                      double* outputY) {
  if (HRESULT hr = lcClearOutPointers(outputX, outputY); FAILED(hr)) return hr;
  return callBoundary(context(L"GetOutputPointFromInputPoint"), [&] {
    const Unwrap u = unwrapOf(input, region, fields());
    const LONG turns = revolutionOf(revolution);
    const lcEllipseAnnulusSection& s = u.section;
    const lc2XformLinear& e = s.unitCircle();
    const double sweep = s.endAngle() - s.startAngle();
    const lc2Vector q = e.inverse().mapPoint(u.pixelsFromRegion.mapPoint({inputX, inputY}));
    const double radius = std::hypot(q.x, q.y);
    if (!std::isfinite(radius) || radius == 0 || sweep == 0 || s.secondScale() == 1)
      throw lcCOMError(e_LumIP_PolarUnwrapInvalidMapPoint, 0);
    double turned = std::atan2(q.y, q.x) - s.startAngle();
    turned -= kTurn * std::floor(turned / kTurn);   // [0, 2 pi)
    if (sweep < 0 && turned != 0) turned -= kTurn;  // (-2 pi, 0]
    const double along = turned / sweep, across = (radius - 1) / (s.secondScale() - 1);
    const double period = u.width * kTurn / std::fabs(sweep);
    *outputX = u.width * (s.angleFromStart() ? along : 1 - along) + turns * period;
    *outputY = u.height * (s.radialFromBase() ? across : 1 - across);
  });
}
