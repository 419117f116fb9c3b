#include <gtest/gtest.h>

#include "lumxstd/pixel_memory.h"
#include "support/core_objects.h"
#include "support/error_info_probe.h"

namespace {

using lumtest::create;

ComPtr<ILumRecord> subRecord(ILumRecord* record, const lum::Variant& indexOrKey) {
  ComPtr<ILumRecord> found;
  EXPECT_EQ(record->get_SubRecord(indexOrKey.get(), found.put()), S_OK);
  return found;
}

struct Fields {
  std::wstring key;
  LONG contentType, usage, integer, subRecords;
  IUnknown* content;  // only compared when the expectation names one
  bool operator==(const Fields& o) const {
    return key == o.key && contentType == o.contentType && usage == o.usage &&
           integer == o.integer && subRecords == o.subRecords &&
           (!o.content || content == o.content);
  }
};

Fields fieldsOf(ILumRecord* record) {
  Fields f{};
  lum::Bstr key;
  lum::Variant content;
  record->get_Key(key.put()), record->get_ContentType(&f.contentType);
  record->get_Usage(&f.usage), record->get_Integer(&f.integer);
  record->get_SubRecordCount(&f.subRecords), record->get_Content(content.put());
  f.key = key.str();
  f.content = content.type() == VT_EMPTY ? nullptr : content.get().punkVal;
  return f;
}

// "Current" > "InputImage" (an image) > "Region" (a rectangle), then "Other".
ComPtr<ILumRecord> makeTree(ILumImage* image, ILumRegion* region) {
  auto record = create<ILumRecord>(CLSID_LumRecord);
  record->Initialize(lum::Bstr(L"Current").get());
  ComPtr<ILumRecord> input;
  EXPECT_EQ(record->AddSubRecord(lum::Bstr(L"InputImage").get(), lumRecordContentImage,
                                 lumRecordUsageCurrentInputImage, 0, lum::Variant(image).get(),
                                 lum::Bstr(L"InputImage").get(), 0, 0, input.put()),
            S_OK);
  EXPECT_EQ(input->AddSubRecord(lum::Bstr(L"Region").get(), lumRecordContentRegion,
                                lumRecordUsageCurrentRegion, -1, lum::Variant(region).get(),
                                lum::Bstr(L"Region").get(), 0, 0, nullptr),
            S_OK)
      << "the out-pointer is optional";
  record->AddSubRecord(lum::Bstr(L"Other").get(), 0, 0, 7, lum::Variant().get(), nullptr, 0, 0,
                       nullptr);
  return record;
}

// The tree makeTree builds, whichever objects hold it; an image of `imageWidth` pixels.
void checkTree(ILumRecord* record, LONG imageWidth) {
  EXPECT_EQ(fieldsOf(record), (Fields{L"Current", 0, 0, 0, 2, nullptr}));
  ComPtr<ILumRecord> input = subRecord(record, lum::Variant(L"InputImage"));
  ASSERT_TRUE(input);
  EXPECT_EQ(fieldsOf(input.get()), (Fields{L"InputImage", lumRecordContentImage,
                                           lumRecordUsageCurrentInputImage, 0, 1, nullptr}));
  LONG width = 0;
  ComPtr<IUnknown>(fieldsOf(input.get()).content).as<ILumImage>()->get_Width(&width);
  EXPECT_EQ(width, imageWidth);
  ComPtr<ILumRecord> region = subRecord(input.get(), lum::Variant(0));
  ASSERT_TRUE(region);
  EXPECT_EQ(fieldsOf(region.get()), (Fields{L"Region", lumRecordContentRegion,
                                            lumRecordUsageCurrentRegion, -1, 0, nullptr}));
  EXPECT_TRUE(ComPtr<IUnknown>(fieldsOf(region.get()).content).as<ILumRectangle>());
  EXPECT_EQ(fieldsOf(subRecord(record, lum::Variant(1)).get()),
            (Fields{L"Other", 0, 0, 7, 0, nullptr}));
}

TEST(Records, HoldATreeOfSubRecordsFoundByIndexOrKey) {
  auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
  image->put_PixelMemory(lumxstd::allocate8(5, 4).get());
  auto region = create<ILumRegion>(CLSID_LumRectangle);
  auto record = makeTree(image.get(), region.get());
  checkTree(record.get(), 5);
  EXPECT_EQ(fieldsOf(subRecord(record.get(), lum::Variant(L"InputImage")).get()).content,
            static_cast<IUnknown*>(image.get()))
      << "the content is the object given, not a copy";

  ComPtr<ILumRecord> none;
  EXPECT_EQ(record->get_SubRecord(lum::Variant(L"Region").get(), none.put()),
            hresultFrom(0x8004C180))
      << "keys are looked up among the record's own sub-records only";
  EXPECT_EQ(record->get_SubRecord(lum::Variant(2).get(), none.put()), hresultFrom(0x8004C180));
  EXPECT_EQ(record->AddSubRecord(lum::Bstr(L"X").get(), 0, 0, 0, lum::Variant().get(), nullptr, 0,
                                 1, none.put()),
            E_INVALIDARG);
  lumtest::takeErrorInfo();

  ASSERT_EQ(record->Initialize(lum::Bstr(L"LastRun").get()), S_OK);
  EXPECT_EQ(fieldsOf(record.get()), (Fields{L"LastRun", 0, 0, 0, 0, nullptr}))
      << "initialising again leaves only the new key";
}

TEST(Records, TreesWithImagesSurviveSaveLoadAndCloneAsCopies) {
  auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
  image->put_PixelMemory(lumxstd::allocate8(6, 2).get());
  auto record = makeTree(image.get(), create<ILumRegion>(CLSID_LumRectangle).get());
  for (auto copy : {lumtest::saveAndLoad(record.get()), lumtest::cloneOf(record.get())}) {
    ASSERT_TRUE(copy);
    checkTree(copy.get(), 6);
    if (HasFatalFailure()) return;
    auto input = subRecord(copy.get(), lum::Variant(0));
    EXPECT_NE(input.get(), subRecord(record.get(), lum::Variant(0)).get()) << "copied records";
    EXPECT_NE(fieldsOf(input.get()).content, static_cast<IUnknown*>(image.get()))
        << "with copied content";
  }
}

}  // namespace
