#include "lumxstd/records.h"

#include "lumxstd/index_or_key.h"
#include "lumxstd/numbered_entries.h"

namespace lumxstd {

std::vector<ComPtr<ILumRecord>> CLumRecord::subRecords() const {
  lcLockGuard guard(const_cast<CLumRecord*>(this)->core().lock());
  return subRecords_;
}

HRESULT CLumRecord::Initialize(BSTR key) {
  return callBoundary(context(L"Initialize"), [&] {
    lum::Bstr newKey(lum::bstrView(key));
    lum::Variant oldContent;  // released after the lock
    std::vector<ComPtr<ILumRecord>> oldSubRecords;
    {
      lcLockGuard guard(core().lock());
      std::swap(key_, newKey);
      contentType_ = usage_ = integer_ = 0;
      std::swap(content_, oldContent);
      annotation_ = lum::Bstr();
      std::swap(subRecords_, oldSubRecords);
    }
    core().fireChange(lumStateSeveralChanged, lumChangeSetByClient);
  });
}

HRESULT CLumRecord::get_SubRecordCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *count = static_cast<LONG>(subRecords_.size());
  return S_OK;
}

HRESULT CLumRecord::get_SubRecord(VARIANT which, ILumRecord** subRecord) {
  if (subRecord == nullptr) return E_POINTER;
  *subRecord = nullptr;
  return callBoundary(context(L"get_SubRecord"), [&] {
    // Sub-records are asked for their keys without this record's lock held.
    const std::vector<ComPtr<ILumRecord>> all = subRecords();
    auto findKey = [&](std::wstring_view key) -> LONG {
      for (std::size_t i = 0; i < all.size(); ++i) {
        lum::Bstr held;
        if (SUCCEEDED(all[i]->get_Key(held.put())) && !held.empty() && held.view() == key)
          return static_cast<LONG>(i);
      }
      return -1;
    };
    all[indexOrKey(which, static_cast<LONG>(all.size()), findKey)].copyTo(subRecord);
  });
}

HRESULT CLumRecord::AddSubRecord(BSTR key, LONG contentType, LONG usage, LONG integer,
                                 VARIANT content, BSTR annotation, LONG reserved0, LONG reserved1,
                                 ILumRecord** subRecord) {
  if (subRecord) *subRecord = nullptr;
  return callBoundary(context(L"AddSubRecord"), [&] {
    if (reserved0 != 0 || reserved1 != 0)
      throw lcCOMError::withDescription(E_INVALIDARG, L"The two reserved arguments must be 0.");
    ComPtr<CLumRecord> added = lum::makeComObject<CLumRecord>();
    throwIfFailed(added->FinalConstruct());
    lum::Variant value;
    throwIfFailed(VariantCopyInd(value.ptr(), &content));
    added->key_ = lum::Bstr(lum::bstrView(key));
    added->contentType_ = contentType;
    added->usage_ = usage;
    added->integer_ = integer;
    added->content_ = std::move(value);
    added->annotation_ = lum::Bstr(lum::bstrView(annotation));
    {
      lcLockGuard guard(core().lock());
      subRecords_.emplace_back(added);
    }
    core().fireChange(lumRecord_SubRecord, lumChangeSetByClient);
    if (subRecord) *subRecord = ComPtr<ILumRecord>(added).detach();
  });
}

void CLumRecord::persistCustom(ILumArchive& archive, LONG mode) {
  if (mode & lumPersistWriting) {
    const std::vector<ComPtr<ILumRecord>> all = subRecords();
    for (std::size_t i = 0; i < all.size(); ++i)
      throwIfFailed(archive.SaveObject(numberedName(L"SubRecord", i).get(), all[i].get()));
    return;
  }
  std::vector<ComPtr<ILumRecord>> loaded;
  for (std::size_t i = 0;; ++i) {
    const lum::Bstr name = numberedName(L"SubRecord", i);
    if (!archiveHas(archive, name)) break;
    ComPtr<IUnknown> object;
    const HRESULT hr = archive.LoadObject(name.get(), object.put());
    throwIfFailed(hr);
    if (hr != S_OK) break;
    ComPtr<ILumRecord> record = object ? object.as<ILumRecord>() : nullptr;
    if (!record) {
      archive.AddProblem(name.get(), lum::Bstr(L"<not a record>").get());
      break;
    }
    loaded.push_back(std::move(record));
  }
  lcLockGuard guard(core().lock());
  subRecords_.swap(loaded);
}

}  // namespace lumxstd
