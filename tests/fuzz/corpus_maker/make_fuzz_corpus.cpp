// Writes the fuzz targets' seed corpora: small real saved components, archives and image
// files, one file each, under <folder>/<target>/. Run once by hand when a format changes;
// the files are committed.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imagefile/image_file.h"
#include "lumxip/HalvexImageProcessing.h"
#include "std/archive/memory_archive.h"
#include "std/math/xform_composed.h"
#include "std/math/xform_linear_object.h"
#include "std/pelbuf/pel_root.h"
#include "std/shapes/affine_rectangle.h"
#include "std/shapes/rect.h"
#include "support/test_images.h"

namespace {

using Bytes = std::vector<uint8_t>;
std::filesystem::path gFolder;

void write(const std::string& target, const std::string& name, const Bytes& bytes) {
  const auto folder = gFolder / target;
  std::filesystem::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// The core target's first byte picks the byte order (bit 0) and the kind (bits 1..).
template <class T>
void writeArchive(const std::string& name, uint8_t kind, std::vector<lcPtrHandle<T>> list) {
  for (uint8_t order : {0, 1}) {
    lcMemoryArchive archive(order ? lcArchive::ByteOrder::MostSignificantFirst
                                  : lcArchive::ByteOrder::LeastSignificantFirst);
    archive.transfer(list);
    Bytes bytes{static_cast<uint8_t>(kind << 1 | order)};
    const Bytes stored = archive.bytes();
    bytes.insert(bytes.end(), stored.begin(), stored.end());
    write("core_archive", name + (order ? "_msb" : "_lsb"), bytes);
  }
}

void writeCoreArchives() {
  const lc2XformLinear a(lc2Matrix(2, 0.5, -1, 3), {5, -7});
  const auto shared = lcMakeXform(a);
  writeArchive<lc2XformBase>("xforms", 0,
                             {lcMakeHandle<lc2XformComposed>(
                                  std::vector<lc2XformHandle>{shared, lcMakeXform(a.inverse())}),
                              shared});
  writeArchive<lcShape>("shapes", 1,
                        {lcMakeHandle<lcRect>(1, 2, 3, 4), lcMakeHandle<lcAffineRectangle>(a)});
  auto root = lcMakeHandle<lcPelRoot<uint8_t>>(3, 2);
  writeArchive<lcPelRootBase>("pelroot", 2, {root, lcMakeHandle<lcPelRoot<uint16_t>>(2, 2)});
}

Bytes saved(IUnknown* object, LONG format) {
  auto service = lumtest::createObject<ILumPersistenceService>(CLSID_LumPersistenceService);
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  service->Save(object, stream.get(), lumPersistAllGroups, format);
  stream->Seek({}, STREAM_SEEK_SET, nullptr);
  std::vector<std::byte> bytes;
  lum::readWholeStream(stream.get(), &bytes);
  return Bytes(reinterpret_cast<const uint8_t*>(bytes.data()),
               reinterpret_cast<const uint8_t*>(bytes.data()) + bytes.size());
}

void writeSaved(const std::string& name, IUnknown* object) {
  write("persist_binary", name, saved(object, lumPersistFormatBinary));
  write("persist_text", name + ".json", saved(object, lumPersistFormatText));
}

int xy(int x, int y) {
  return (7 * x + 13 * y) & 0xFF;
}

void writeComponents() {
  using lumtest::createObject;
  auto image = lumtest::grey8Image(4, 3, xy);
  auto inner = createObject<ILumCollection>(CLSID_LumCollection);
  inner->Add(*lum::Variant(2.5).ptr(), nullptr, -1);
  auto collection = createObject<ILumCollection>(CLSID_LumCollection);
  collection->Add(*lum::Variant(42).ptr(), lum::Bstr(L"answer").get(), -1);
  collection->Add(*lum::Variant(L"text").ptr(), nullptr, -1);
  collection->Add(*lum::Variant(static_cast<IDispatch*>(inner.get())).ptr(), nullptr, -1);
  collection->Add(*lum::Variant(static_cast<IDispatch*>(image.get())).ptr(), nullptr, -1);
  writeSaved("collection", collection.get());

  auto tool = createObject<ILumIPOneImageTool>(CLSID_LumIPOneImageTool);
  ComPtr<ILumIPOneImageOperators> ops;
  tool->get_Operators(ops.put());
  for (const CLSID* clsid :
       {&CLSID_LumIPOneImageAddSubtractConstant, &CLSID_LumIPOneImageConvolve3x3})
    ops->Add(createObject<ILumIPOneImageOperatorParams>(*clsid).get(), -1);
  tool->putref_InputImage(image.get());
  writeSaved("tool", tool.get());
  writeSaved("transform", createObject<IUnknown>(CLSID_LumTransform2DLinear).get());
}

void writeImageFiles() {
  const auto grey = lumtest::grey8Image(5, 3, xy), planar = lumtest::planarImage(3, 2, xy);
  const auto grey16 = lumtest::grey16Image(3, 2, xy);
  struct {
    ILumImage* image;
    const char* name;
    const char* extension;
  } files[] = {{grey.get(), "grey8.png", ".png"},    {planar.get(), "rgb.png", ".png"},
               {grey16.get(), "grey16.png", ".png"}, {grey.get(), "grey8.pgm", ".pgm"},
               {planar.get(), "rgb.ppm", ".ppm"},    {grey.get(), "grey8.tif", ".tif"},
               {grey16.get(), "grey16.tif", ".tif"}, {planar.get(), "rgb.tif", ".tif"}};
  for (const auto& file : files) {
    Bytes bytes;
    std::wstring problem;
    if (lcWriteImageBytes(file.image, file.extension, L"seed", &bytes, &problem) == S_OK)
      write("image_file", file.name, bytes);
  }
}

// The dispatch target reads: class, then per call name, kind and count, arguments.
void writeDispatchCalls() {
  write("dispatch", "collection_add_get", {0,   0,   0x08, 3, 0x42, 0, 0, 0, 0, 0, 0, 0, 8, 3, 'k',
                                           'e', 'y', 0,    7, 0x09, 3, 1, 0, 0, 0, 0, 0, 0, 0});
  write("dispatch", "tool_put_mode", {1, 19, 0x0A, 3, 2, 0, 0, 0, 0, 0, 0, 0, 20, 0});
  write("dispatch", "operator_clone_tag", {2, 2, 0, 11, 0x0A, 8, 4, 'n', 'a', 'm', 'e', 12, 1});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_corpus <corpus folder>\n");
    return 2;
  }
  gFolder = argv[1];
  writeCoreArchives();
  writeComponents();
  writeImageFiles();
  writeDispatchCalls();
  return 0;
}
