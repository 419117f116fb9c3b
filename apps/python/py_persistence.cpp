#include "py_persistence.h"

#include <filesystem>
#include <vector>

#include "imagefile/image_file.h"

#include "py_component.h"
#include "py_values.h"

namespace lumxip::python {
namespace {

ComPtr<ILumPersistenceService> persistenceService() {
  ComPtr<ILumPersistenceService> service;
  check(CoCreateInstance(CLSID_LumPersistenceService, nullptr, CLSCTX_INPROC_SERVER,
                         iid_of<ILumPersistenceService>, service.putVoid()),
        L"creating the persistence service");
  return service;
}

LONG formatCode(const std::string& format) {
  if (format == "json") return lumPersistFormatText;
  if (format == "binary") return lumPersistFormatBinary;
  throw py::value_error("the format is \"json\" or \"binary\"");
}

py::bytes dumps(Object& object, const std::string& format) {
  const LONG code = formatCode(format);
  ComPtr<IStream> stream;
  check(lum::createMemoryStream(stream.put()), L"making a memory stream");
  std::vector<std::byte> bytes;
  HRESULT hr = S_OK;
  {
    py::gil_scoped_release release;
    SetErrorInfo(0, nullptr);
    hr = persistenceService()->Save(object.dispatch(), stream.get(), lumPersistAllGroups, code);
    if (SUCCEEDED(hr)) hr = lum::readWholeStream(stream.get(), &bytes);
  }
  check(hr, L"saving");
  return py::bytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

py::object loads(const py::bytes& data) {
  const std::string_view bytes = data;
  ComPtr<IStream> stream;
  check(lum::createMemoryStream(bytes.data(), bytes.size(), stream.put()),
        L"making a memory stream");
  ComPtr<IUnknown> object;
  HRESULT hr = S_OK;
  Failure problems;
  {
    py::gil_scoped_release release;
    SetErrorInfo(0, nullptr);
    hr = persistenceService()->Load(stream.get(), lumPersistAllGroups, object.put());
    problems = failureOf(hr);
  }
  if (FAILED(hr)) raiseFailure(std::move(problems));
  if (hr == S_FALSE)  // loaded, with properties that could not be read
    PyErr_WarnEx(PyExc_RuntimeWarning,
                 ("loaded with problems: " + utf8(problems.description)).c_str(), 1);
  return wrapObject(object.get());
}

py::object readImage(const std::string& path) {
  ComPtr<ILumImage> image;
  std::wstring problem;
  HRESULT hr = S_OK;
  {
    py::gil_scoped_release release;
    hr = lcReadImageFile(std::filesystem::path(path), lcImageFileLimits{}, image.put(), &problem);
  }
  if (FAILED(hr)) raiseFailure(Failure{hr, problem.empty() ? wide(path) : problem, L""});
  return wrapObject(image.get());
}

void writeImage(Object& image, const std::string& path) {
  ComPtr<ILumImage> target;
  if (FAILED(image.dispatch()->QueryInterface(iid_of<ILumImage>, target.putVoid())))
    throw py::type_error("write_image writes an image");
  std::wstring problem;
  HRESULT hr = S_OK;
  {
    py::gil_scoped_release release;
    hr = lcWriteImageFile(std::filesystem::path(path), target.get(), &problem);
  }
  if (FAILED(hr)) raiseFailure(Failure{hr, problem.empty() ? wide(path) : problem, L""});
}

}  // namespace

void bindPersistence(py::module_& module) {
  module.def("dumps", &dumps, py::arg("obj"), py::arg("format") = "json",
             "The bytes of a component saved in the \"json\" or \"binary\" encoding.");
  module.def("loads", &loads, py::arg("data"),
             "The component saved in `data` (either encoding, recognised by content).");
  module.def("read_image", &readImage, py::arg("path"),
             "The image a PNG, PGM/PPM or TIFF file holds.");
  module.def("write_image", &writeImage, py::arg("image"), py::arg("path"),
             "Writes an image to a file; the extension chooses the format.");
}

}  // namespace lumxip::python
