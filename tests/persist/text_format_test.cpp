// The text encoding of the persistence service: exact round trips of every component and
// of awkward values, hand-written files, and bad files refused cleanly.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "lumxip/HalvexImageProcessing.h"
#include "support/core_objects.h"
#include "support/error_info_probe.h"
#include "support/test_images.h"

namespace {

using Bytes = std::string;

ComPtr<ILumPersistenceService> service() {
  return lumtest::create<ILumPersistenceService>(CLSID_LumPersistenceService);
}

HRESULT save(IUnknown* object, LONG format, Bytes& bytes) {
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  const HRESULT hr = service()->Save(object, stream.get(), lumPersistAllGroups, format);
  std::vector<std::byte> saved;
  lum::readWholeStream(stream.get(), &saved);
  bytes.assign(reinterpret_cast<const char*>(saved.data()), saved.size());
  return hr;
}

Bytes saved(IUnknown* object, LONG format) {
  Bytes bytes;
  EXPECT_EQ(save(object, format, bytes), S_OK);
  return bytes;
}

HRESULT load(const Bytes& bytes, ComPtr<IUnknown>& object) {
  ComPtr<IStream> stream;
  lum::createMemoryStream(bytes.data(), bytes.size(), stream.put());
  return service()->Load(stream.get(), lumPersistAllGroups, object.put());
}

// Two objects compare equal when their binary saves, which hold every value's bits, do.
void expectTextRoundTrip(IUnknown* object, const std::string& what) {
  const Bytes text = saved(object, lumPersistFormatText);
  ComPtr<IUnknown> loaded;
  ASSERT_EQ(load(text, loaded), S_OK) << what << "\n" << text;
  EXPECT_EQ(saved(loaded.get(), lumPersistFormatBinary), saved(object, lumPersistFormatBinary))
      << what;
  EXPECT_EQ(saved(loaded.get(), lumPersistFormatText), text) << what;
}

ComPtr<ILumIPOneImageTool> exampleJob() {
  auto tool = lumtest::create<ILumIPOneImageTool>(CLSID_LumIPOneImageTool);
  auto add =
      lumtest::create<ILumIPOneImageAddSubtractConstant>(CLSID_LumIPOneImageAddSubtractConstant);
  add->put_ConstantValue(-12);
  auto multiply =
      lumtest::create<ILumIPOneImageMultiplyConstant>(CLSID_LumIPOneImageMultiplyConstant);
  multiply->put_ConstantValue(1.25);
  multiply->put_OperatorName(lum::Bstr(L"stretch").get());
  ComPtr<ILumIPOneImageOperators> operators;
  tool->get_Operators(operators.put());
  operators->Add(add.as<ILumIPOneImageOperatorParams>().get(), -1);
  operators->Add(multiply.as<ILumIPOneImageOperatorParams>().get(), -1);
  tool->put_ToolName(lum::Bstr(L"Brighten and stretch").get());
  return tool;
}

TEST(TextFormat, EveryRegisteredComponentRoundTripsExactly) {
  int tried = 0;
  for (const auto& made : lumtest::oneOfEveryRegisteredClass()) {
    const auto& object = made.object;
    if (!object.as<ILumPersistArchive>() && !object.as<IPersistStream>()) continue;  // services
    expectTextRoundTrip(object.get(), made.name);
    ++tried;
  }
  EXPECT_GE(tried, 10);
  expectTextRoundTrip(exampleJob().get(), "a tool with a chain");
  expectTextRoundTrip(lumtest::grey8Image(37, 5, [](int x, int y) { return x * 7 + y; }).get(),
                      "an image with pixels");
}

// The example job of the documentation loads, and is what the writer writes today.
TEST(TextFormat, TheExampleJobLoadsAndIsWhatTheWriterWrites) {
  std::ifstream file(LUMXIP_SOURCE_DIR "/examples/brighten-and-stretch.json", std::ios::binary);
  ASSERT_TRUE(file);
  const Bytes text{std::istreambuf_iterator<char>(file), {}};
  ComPtr<IUnknown> loaded;
  ASSERT_EQ(load(text, loaded), S_OK);
  ComPtr<ILumIPOneImageOperators> operators;
  loaded.as<ILumIPOneImageTool>()->get_Operators(operators.put());
  LONG count = 0;
  operators->get_Count(&count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(saved(exampleJob().get(), lumPersistFormatText), text);
}

template <class T>
lum::Variant scalar(VARTYPE vt, T value) {
  lum::Variant v;
  static_assert(sizeof(T) <= sizeof(int64_t));
  std::memcpy(&v.ptr()->llVal, &value, sizeof value);
  v.ptr()->vt = vt;
  return v;
}

lum::Variant text(std::wstring_view units) {
  return lum::Variant(units);
}

// An array of `vt` holding `elements` (VARIANTs, converted to `vt` by the array).
lum::Variant array(VARTYPE vt, std::vector<lum::Variant> elements, LONG lower = 0) {
  SAFEARRAY* a = SafeArrayCreateVector(vt, lower, static_cast<ULONG>(elements.size()));
  for (LONG i = 0; i < static_cast<LONG>(elements.size()); ++i) {
    LONG index = lower + i;
    VARIANT& e = *elements[i].ptr();
    void* put = vt == VT_VARIANT                      ? static_cast<void*>(&e)
                : (vt == VT_BSTR || vt == VT_UNKNOWN) ? static_cast<void*>(e.punkVal)
                                                      : static_cast<void*>(&e.llVal);
    EXPECT_EQ(SafeArrayPutElement(a, &index, put), S_OK);
  }
  lum::Variant v;
  v.ptr()->vt = VT_ARRAY | vt;
  v.ptr()->parray = a;
  return v;
}

TEST(TextFormat, AwkwardValuesReadBackBitForBit) {
  using L = std::numeric_limits<double>;
  using F = std::numeric_limits<float>;
  auto holder = lumtest::create<ILumObject>(CLSID_LumRunStatus);
  auto nested = lumtest::create<ILumObject>(CLSID_LumRunStatus);
  const lum::Variant values = array(
      VT_VARIANT,
      {lum::Variant(L::quiet_NaN()),
       lum::Variant(-L::quiet_NaN()),
       scalar(VT_R8, std::bit_cast<double>(0x7FF0000000000001ull)),  // signalling, with payload
       lum::Variant(-0.0),
       lum::Variant(L::denorm_min()),
       lum::Variant(-L::infinity()),
       lum::Variant(L::max()),
       lum::Variant(0.1),
       lum::Variant(1e21),
       lum::Variant(F::denorm_min()),
       lum::Variant(F::quiet_NaN()),
       lum::Variant(0.1f),
       lum::Variant(-0.0f),
       scalar(VT_I8, std::numeric_limits<int64_t>::min()),
       scalar(VT_I8, std::numeric_limits<int64_t>::max()),
       scalar(VT_UI8, std::numeric_limits<uint64_t>::max()),
       scalar(VT_I1, int8_t{-128}),
       scalar(VT_UINT, 0xFFFFFFFFu),
       scalar(VT_ERROR, SCODE(0x80020004)),
       scalar(VT_BOOL, VARIANT_BOOL{1}),
       lum::Variant(true),
       scalar(VT_NULL, 0),
       lum::Variant(),
       text(L""),
       text(L"tab\t quote\" \u00fc \U0001F600"),
       text(std::wstring{L'a', wchar_t(0xD800), L'b'}),             // a lone surrogate
       text(std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}),        // a pair as two units
       text(std::wstring{wchar_t(0x110000), wchar_t(0xFFFFFFFF)}),  // beyond Unicode
       array(VT_UI1, {}),
       array(VT_UI1, {lum::Variant(uint8_t{0}), lum::Variant(uint8_t{255})}),
       array(VT_R8, {lum::Variant(-0.0), lum::Variant(L::infinity())}, -3),
       array(VT_BSTR, {text(L""), text(std::wstring{wchar_t(0xDFFF)})}),
       array(VT_VARIANT, {array(VT_VARIANT, {array(VT_VARIANT, {})}), lum::Variant(1)}),
       array(VT_UNKNOWN, {lum::Variant(static_cast<IUnknown*>(nested.get())),
                          lum::Variant(static_cast<IUnknown*>(nullptr))}),
       lum::Variant(static_cast<IUnknown*>(nested.get()))});  // met twice: shared
  ASSERT_EQ(holder->put_Tag(values.get()), S_OK);
  expectTextRoundTrip(holder.get(), "awkward values");
}

// A file written by hand names its classes by ProgID alone and gives values without
// types; each component's read converts them to the types it declares.
TEST(TextFormat, HandWrittenFilesWithoutTypesLoad) {
  const Bytes job = R"({
  "ProgID": "Halvex.LumIPOneImageTool",
  "Properties": {
    "Tag": "note", "ToolName": "by hand", "ControlProgID": "", "LastRunRecordEnable": 2,
    "LastRunRecordDiagEnable": true, "CurrentRecordEnable": "3", "RegionMode": 0.0,
    "RunStatus": null, "ExposedOutputProperties": null, "ExposedInputProperties": null,
    "Region": null, "InputImage": null, "OutputImage": null, "IntermediateImages": null,
    "InputImage_LastRun": null, "Region_LastRun": null, "RegionMode_LastRun": 1,
    "LastRun_LastRunRecordDiagEnable": 1,
    "Operators": {"ProgID": "Halvex.LumIPOneImageOperators", "Properties": {"Tag": null,
      "Item0": {"ProgID": "Halvex.LumIPOneImageAddSubtractConstant", "Properties": {
        "Tag": [1, "two", [3.5]], "Enabled": false, "ControlProgID": "", "OperatorName": "add",
        "ConstantValue": 20.0, "OverflowMode": 1, "OperationFormat": 0, "OutputImageFormat": 0,
        "ConstantPlane0Value": 1, "ConstantPlane1Value": 2, "ConstantPlane2Value": 3}}}}
  }
})";
  ComPtr<IUnknown> loaded;
  ASSERT_EQ(load(job, loaded), S_OK) << lum::toUtf8(lumtest::takeErrorInfo().description);
  auto tool = loaded.as<ILumIPOneImageTool>();
  LumRegionModeConstants regionMode{};
  tool->get_RegionMode(&regionMode);
  EXPECT_EQ(static_cast<int>(regionMode), 0);
  ComPtr<ILumIPOneImageOperators> operators;
  tool->get_Operators(operators.put());
  ComPtr<ILumIPOneImageOperatorParams> item;
  ASSERT_EQ(operators->get_Item(0, item.put()), S_OK);
  auto add = item.as<ILumIPOneImageAddSubtractConstant>();
  LONG constant = 0;
  add->get_ConstantValue(&constant);
  EXPECT_EQ(constant, 20);
  lum::Variant tag;
  add.as<ILumObject>()->get_Tag(tag.put());
  EXPECT_EQ(tag.type(), VT_ARRAY | VT_VARIANT) << "a list without types is an array of VARIANTs";

  // The short form of the documentation: what is left out keeps its default and is listed.
  const Bytes shortJob = R"({"ProgID": "Halvex.LumIPOneImageTool", "Properties": {
    "ToolName": "by hand",
    "Operators": {"ProgID": "Halvex.LumIPOneImageOperators", "Properties": {
      "Item0": {"ProgID": "Halvex.LumIPOneImageAddSubtractConstant",
                "Properties": {"ConstantValue": 20}}}}}})";
  ASSERT_EQ(load(shortJob, loaded), S_FALSE);
  const std::wstring problems = lumtest::takeErrorInfo().description;
  EXPECT_NE(problems.find(L"missing or invalid: Tag, Enabled,"), std::wstring::npos)
      << lum::toUtf8(problems);
  operators = nullptr;
  loaded.as<ILumIPOneImageTool>()->get_Operators(operators.put());
  item = nullptr;
  ASSERT_EQ(operators->get_Item(0, item.put()), S_OK);
  item.as<ILumIPOneImageAddSubtractConstant>()->get_ConstantValue(&constant);
  EXPECT_EQ(constant, 20);
}

struct BadFile {
  const char* what;
  Bytes text;
  HRESULT result;
  const wchar_t* says;
};

// An operator whose properties are all given but ConstantValue, with `more` after them.
Bytes multiply(const char* more, const char* tag = R"({"EMPTY": null})") {
  return R"({"ProgID": "Halvex.LumIPOneImageMultiplyConstant", "Properties": {"Tag": )" +
         Bytes(tag) +
         R"(, "Enabled": true, "ControlProgID": "", "OperatorName": "", "OverflowMode": 0,)"
         R"("OutputImageFormat": 0, "ConstantPlane0Value": 1, "ConstantPlane1Value": 1,)"
         R"("ConstantPlane2Value": 1)" +
         more + "}}";
}

Bytes nestedTags(int levels) {
  Bytes text;
  for (int i = 0; i < levels; ++i)
    text += R"({"CLSID": "{23FC8DA7-1AA6-11D3-855B-00104B1CAA62}", "Properties": {"Tag": )";
  text += "null";
  for (int i = 0; i < levels; ++i)
    text += "}}";
  return text;
}

TEST(TextFormat, BadFilesAreRefusedOrReportedCleanly) {
  const BadFile cases[] = {
      {"syntax", R"({"ProgID": })", E_FAIL, L"line 1, column 12"},
      {"trailing text", multiply(R"(, "ConstantValue": 2)") + " x", E_FAIL, L"syntax error"},
      {"duplicate", R"({"ProgID": "a", "ProgID": "a"})", E_FAIL, L"appears twice"},
      {"JSON too deep", R"({"Properties": {"Tag": )" + Bytes(100000, '['), E_FAIL,
       L"nested more than 512"},
      {"unknown ProgID", R"({"ProgID": "Halvex.NoSuchThing"})", REGDB_E_CLASSNOTREG,
       L"\"Halvex.NoSuchThing\", which is not registered"},
      {"bad CLSID", R"({"CLSID": "{12}"})", E_FAIL, L"not a class identifier"},
      {"classes disagree",
       R"({"ProgID": "Halvex.LumRunStatus", "CLSID": "{E2A6374F-4F95-48F9-B853-04B1C6F1D0FC}"})",
       E_FAIL, L"name different classes"},
      {"no class", R"({"Properties": {}})", E_FAIL, L"a ProgID or a CLSID"},
      {"newer", R"({"ProgID": "Halvex.LumRunStatus", "FormatVersion": 2})", E_FAIL,
       L"newer version"},
      {"unknown member", R"({"ProgID": "Halvex.LumRunStatus", "Propertys": {}})", E_FAIL,
       L"no member \"Propertys\""},
      {"unknown type", multiply(R"(, "ConstantValue": {"R9": 1})"), E_FAIL,
       L"at /Properties/ConstantValue: \"R9\" is not a type of value"},
      {"tagged wrong type", multiply(R"(, "ConstantValue": {"R8": "1"})"), E_FAIL,
       L"at /Properties/ConstantValue/R8: a number"},
      {"out of range", multiply(", \"ConstantValue\": 2", R"({"I1": 128})"), E_FAIL,
       L"fits the type"},
      {"bad base64", multiply(", \"ConstantValue\": 2", R"({"UI1[]": "AB=C"})"), E_FAIL, L"base64"},
      {"unknown reference", multiply(", \"ConstantValue\": 2", R"({"Reference": 5})"), E_FAIL,
       L"unknown object"},
      {"itself", multiply(", \"ConstantValue\": 2", R"({"UNKNOWN": {"Reference": 0}})"), E_FAIL,
       L"still being read"},
      {"too deep", nestedTags(70), E_FAIL, L"nested more than 64"},
      {"untagged wrong type", multiply(R"(, "ConstantValue": "abc")"), S_FALSE,
       L"ConstantValue<invalid double value>"},
      {"missing", multiply(""), S_FALSE, L"missing or invalid: ConstantValue"},
      {"refused", multiply(R"(, "ConstantValue": -1)"), S_FALSE, L"ConstantValue<value refused>"},
      {"unread", multiply(R"(, "ConstantValue": 2, "Constantvalue": 3)"), S_FALSE,
       L"never read: Constantvalue"},
  };
  for (const auto& bad : cases) {
    ComPtr<IUnknown> loaded;
    EXPECT_EQ(load(bad.text, loaded), bad.result) << bad.what;
    const std::wstring description = lumtest::takeErrorInfo().description;
    EXPECT_NE(description.find(bad.says), std::wstring::npos)
        << bad.what << ": " << lum::toUtf8(description);
    EXPECT_EQ(loaded.get() != nullptr, SUCCEEDED(bad.result)) << bad.what;
  }
}

TEST(TextFormat, EveryCutOfADocumentFailsCleanly) {
  const Bytes text = saved(exampleJob().get(), lumPersistFormatText);
  for (std::size_t length = 1; length < text.size(); length += 11) {
    ComPtr<IUnknown> loaded;
    EXPECT_TRUE(FAILED(load(text.substr(0, length), loaded))) << length;
    lumtest::takeErrorInfo();
  }
}

TEST(TextFormat, SaveKnowsTwoFormats) {
  auto status = lumtest::create<IUnknown>(CLSID_LumRunStatus);
  Bytes bytes;
  EXPECT_EQ(save(status.get(), 7, bytes), E_INVALIDARG);
  lumtest::takeErrorInfo();
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  ASSERT_EQ(status.as<IPersistStream>()->Save(stream.get(), FALSE), S_OK);
  std::vector<std::byte> binary;
  lum::readWholeStream(stream.get(), &binary);
  EXPECT_EQ(std::memcmp(binary.data(), "LUMXIP", 6), 0) << "IPersistStream saves binary";
}

}  // namespace
