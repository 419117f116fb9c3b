#pragma once
// LumRecord: a tree of what a tool shows a host. Each record holds a key, content-type
// and usage codes, an integer, its content (an object such as an image or a region) and
// an annotation, and owns its sub-records in order. Records are built once, by the tool
// that hands them out, and then only read.

#include <vector>

#include "components/framework/component.h"

namespace lumxstd {

class LUM_VISIBLE CLumRecord final : public lcStdPersistAndChangeImpl<CLumRecord, ILumRecord> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumRecord, L"CLumRecord", L"Halvex.LumRecord", 1,
                                             L"Record of a tool's images and regions"};
  static constexpr auto ownMembers() {
    return lum::members(
        prop<&Self::key_>(L"Key", lumRecord_Key).readOnly(),
        prop<&Self::contentType_>(L"ContentType", lumRecord_ContentType).readOnly(),
        prop<&Self::usage_>(L"Usage", lumRecord_Usage).readOnly(),
        prop<&Self::integer_>(L"Integer", lumRecord_Integer).readOnly(),
        prop<&Self::content_>(L"Content", lumRecord_Content).readOnly(),
        prop<&Self::annotation_>(L"Annotation", lumRecord_Annotation).readOnly(),
        indexedProp<&Self::get_SubRecordCount>(L"SubRecordCount", lumRecord_SubRecordCount),
        indexedProp<&Self::get_SubRecord>(L"SubRecord", lumRecord_SubRecord),
        method<&Self::Initialize>(L"Initialize", DISPID_LumRecord_Initialize),
        method<&Self::AddSubRecord>(L"AddSubRecord", DISPID_LumRecord_AddSubRecord)
            .optionalFrom(6));
  }
  LUM_PROPERTY_GET(Key, BSTR, key_)
  LUM_PROPERTY_GET(ContentType, LONG, contentType_)
  LUM_PROPERTY_GET(Usage, LONG, usage_)
  LUM_PROPERTY_GET(Integer, LONG, integer_)
  LUM_PROPERTY_GET(Content, VARIANT, content_)
  LUM_PROPERTY_GET(Annotation, BSTR, annotation_)

  HRESULT Initialize(BSTR key) override;
  HRESULT get_SubRecordCount(LONG* count) override;
  HRESULT get_SubRecord(VARIANT indexOrKey, ILumRecord** subRecord) override;
  HRESULT AddSubRecord(BSTR key, LONG contentType, LONG usage, LONG integer, VARIANT content,
                       BSTR annotation, LONG reserved0, LONG reserved1,
                       ILumRecord** subRecord) override;

  // Sub-record i as the object "SubRecord<i>", after the record's own values.
  void persistCustom(ILumArchive& archive, LONG mode);

 private:
  std::vector<ComPtr<ILumRecord>> subRecords() const;

  lum::Bstr key_;
  LONG contentType_;
  LONG usage_;
  LONG integer_;
  lum::Variant content_;
  lum::Bstr annotation_;
  std::vector<ComPtr<ILumRecord>> subRecords_;
};

}  // namespace lumxstd
