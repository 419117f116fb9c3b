// The operators' whole Execute path (bridge, snapshot, kernel, output image) against
// OpenCV doing the same arithmetic, so that it can be set beside the bare kernel's row of
// the same name; and the fixed cost of an Execute on a 64 x 64 image.

#include <cstring>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <random>

#include "bench_rows.h"
#include "lumxip/HalvexImageProcessing.h"
#include "lumxstd/pixel_memory.h"
#include "platform/safearray.h"

namespace {

// A random 8-bit image both as a core-library image and as an OpenCV matrix over the
// same pixels.
struct InputImage {
  InputImage(int32_t width, int32_t height) {
    memory = lumxstd::allocate8(width, height);
    BYTE* base = nullptr;
    LONG stride = 0;
    memory->get_Address(&base);
    memory->get_Stride(&stride);
    std::mt19937 random(1);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        base[y * stride + x] = static_cast<BYTE>(random());
    ComPtr<ILumImage8Grey> grey;
    CoCreateInstance(CLSID_LumImage8Grey, nullptr, CLSCTX_ALL, iid_of<ILumImage8Grey>,
                     grey.putVoid());
    grey->put_PixelMemory(memory.get());
    image = grey.as<ILumImage>();
    mat = cv::Mat(height, width, CV_8U, base, static_cast<std::size_t>(stride));
  }
  ComPtr<ILumImage8PixelMemory> memory;
  ComPtr<ILumImage> image;
  cv::Mat mat, out;
};

template <class I>
ComPtr<I> create(const CLSID& clsid) {
  ComPtr<I> object;
  CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<I>, object.putVoid());
  return object;
}

// Both sides of a row: our operator's Execute on the image, and `opencv` on its matrix.
template <class OpenCv>
lcBenchSides sides(ComPtr<ILumIPOneImageOperator> op, int32_t w, int32_t h, OpenCv opencv) {
  auto input = std::make_shared<InputImage>(w, h);
  return {[op, input] {
            ComPtr<ILumImage> output;
            op->Execute(input->image.get(), lumRegionModePixelAlignedBoundingBox, nullptr,
                        output.put());
          },
          [input, opencv] { opencv(input->mat, input->out); }};
}

lcBenchSides add8(int32_t w, int32_t h) {
  auto op = create<ILumIPOneImageAddSubtractConstant>(CLSID_LumIPOneImageAddSubtractConstant);
  op->put_ConstantValue(37);
  return sides(op, w, h, [](cv::Mat& in, cv::Mat& out) { cv::add(in, cv::Scalar(37), out); });
}

lcBenchSides multiply8(int32_t w, int32_t h) {
  auto op = create<ILumIPOneImageMultiplyConstant>(CLSID_LumIPOneImageMultiplyConstant);
  op->put_ConstantValue(1.3);
  cv::Mat lut(1, 256, CV_8U);
  for (int i = 0; i < 256; ++i)
    lut.at<uint8_t>(i) = cv::saturate_cast<uint8_t>(int(i * 1.3 + 0.5));
  return sides(op, w, h, [lut](cv::Mat& in, cv::Mat& out) { cv::LUT(in, lut, out); });
}

lcBenchSides pixelMap8(int32_t w, int32_t h) {
  auto op = create<ILumIPOneImagePixelMap>(CLSID_LumIPOneImagePixelMap);
  cv::Mat lut(1, 256, CV_8U);
  for (int i = 0; i < 256; ++i)
    lut.at<uint8_t>(i) = static_cast<uint8_t>(255 - i);
  VARIANT table{};
  table.vt = VT_ARRAY | VT_UI1;
  table.parray = SafeArrayCreateVector(VT_UI1, 0, 256);
  std::memcpy(table.parray->pvData, lut.data, 256);
  op->put_Map(table);
  VariantClear(&table);
  return sides(op, w, h, [lut](cv::Mat& in, cv::Mat& out) { cv::LUT(in, lut, out); });
}

lcBenchSides equalize8(int32_t w, int32_t h) {
  auto op = create<ILumIPOneImageOperator>(CLSID_LumIPOneImageEqualize);
  return sides(op, w, h, [](cv::Mat& in, cv::Mat& out) { cv::equalizeHist(in, out); });
}

lcBenchSides sharpen3x3(int32_t w, int32_t h) {
  auto op = create<ILumIPOneImageConvolve3x3>(CLSID_LumIPOneImageConvolve3x3);
  static const double kSharpen[] = {0, -1, 0, -1, 5, -1, 0, -1, 0};
  for (LONG p = 0; p < 9; ++p)
    op->put_KernelValue(LumIPOneImageConvolve3x3PositionConstants(p), kSharpen[p]);
  const cv::Mat kernel(3, 3, CV_64F, const_cast<double*>(kSharpen));
  return sides(op, w, h,
               [kernel](cv::Mat& in, cv::Mat& out) { cv::filter2D(in, out, CV_16S, kernel); });
}

lcBenchSides bell7x7(int32_t w, int32_t h) {
  auto op = create<ILumIPOneImageConvolveNxM>(CLSID_LumIPOneImageConvolveNxM);
  op->put_KernelWidth(7);
  op->put_KernelHeight(7);
  cv::Mat kernel(7, 7, CV_64F);
  for (LONG y = 0; y < 7; ++y)
    for (LONG x = 0; x < 7; ++x) {
      const double value = std::exp(-((x - 3) * (x - 3) + (y - 3) * (y - 3)) / 8.0);
      op->SetKernelValue(x, y, value);
      kernel.at<double>(y, x) = value;
    }
  kernel /= cv::sum(kernel)[0];
  return sides(op, w, h,
               [kernel](cv::Mat& in, cv::Mat& out) { cv::filter2D(in, out, -1, kernel); });
}

lcBenchSides highPass2(int32_t w, int32_t h) {
  auto op = create<ILumIPOneImageHighPassFilter>(CLSID_LumIPOneImageHighPassFilter);
  op->put_SmoothnessX(2);
  op->put_SmoothnessY(2);
  return sides(op, w, h, [](cv::Mat& in, cv::Mat& out) {
    cv::GaussianBlur(in, out, cv::Size(), std::sqrt(2.0));
  });
}

}  // namespace

void lcAddExecuteBenchRows() {
  lcAddBenchRow("execute add_8", add8, 1.0);
  lcAddBenchRow("execute add_8 (fixed)", add8, 0, {{64, 64}});
  lcAddBenchRow("execute multiply_8", multiply8, 1.0);
  lcAddBenchRow("execute convolve3x3_8", sharpen3x3, 1.5);
  lcAddBenchRow("execute pixel_map_8", pixelMap8, 1.0);
  lcAddBenchRow("execute equalize_8", equalize8, 1.0);
  lcAddBenchRow("execute convolveNxM_7x7", bell7x7, 1.0);
  lcAddBenchRow("execute highpass_s2", highPass2, 0.7);
}
