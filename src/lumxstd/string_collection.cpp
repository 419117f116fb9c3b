#include "lumxstd/string_collection.h"

#include "components/framework/snapshot_enumerator.h"
#include "lumxstd/index_or_key.h"
#include "lumxstd/numbered_entries.h"

namespace lumxstd {
namespace {

using TextEnumerator = lcSnapshotEnumerator<IEnumVARIANT, VARIANT, lum::Bstr>;

HRESULT copyText(const lum::Bstr& stored, VARIANT* item) {
  VariantInit(item);
  item->vt = VT_BSTR;
  return lum::allocBstr(stored.view(), &item->bstrVal);
}

void clearText(VARIANT* item) {
  VariantClear(item);
}

bool readString(ILumArchive& archive, const lum::Bstr& name, lum::Bstr& text) {
  BSTR read = nullptr;
  const HRESULT hr = archive.PersistString(name.get(), &read);
  throwIfFailed(hr);
  lum::Bstr value = lum::Bstr::attach(read);
  if (hr != S_OK) return false;
  text = std::move(value);
  return true;
}

}  // namespace

LONG CLumStringCollection::findKey(std::wstring_view key) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (!entries_[i].key.empty() && entries_[i].key.view() == key) return static_cast<LONG>(i);
  return -1;
}

LONG CLumStringCollection::indexOf(const VARIANT& which) const {
  return indexOrKey(which, static_cast<LONG>(entries_.size()),
                    [&](std::wstring_view key) { return findKey(key); });
}

void CLumStringCollection::changed() {
  core().fireChange(lumStringCollection_Items, lumChangeSetByClient);
}

HRESULT CLumStringCollection::get__NewEnum(IUnknown** enumerator) {
  if (enumerator == nullptr) return E_POINTER;
  *enumerator = nullptr;
  return callBoundary(context(L"get__NewEnum"), [&] {
    std::vector<lum::Bstr> items;
    {
      lcLockGuard guard(core().lock());
      for (const Entry& entry : entries_)
        items.push_back(entry.item);
    }
    *enumerator =
        lum::makeComObject<TextEnumerator>(std::move(items), &copyText, &clearText).detach();
  });
}

HRESULT CLumStringCollection::get_Count(LONG* count) {
  if (count == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *count = static_cast<LONG>(entries_.size());
  return S_OK;
}

HRESULT CLumStringCollection::get_Item(VARIANT which, BSTR* item) {
  if (item == nullptr) return E_POINTER;
  *item = nullptr;
  return callBoundary(context(L"get_Item"), [&] {
    lcLockGuard guard(core().lock());
    *item = lum::Bstr(entries_[indexOf(which)].item).detach();
  });
}

HRESULT CLumStringCollection::get_Key(LONG index, BSTR* key) {
  if (key == nullptr) return E_POINTER;
  *key = nullptr;
  return callBoundary(context(L"get_Key"), [&] {
    lcLockGuard guard(core().lock());
    *key = lum::Bstr(entries_[indexOf(lum::Variant(index).get())].key).detach();
  });
}

HRESULT CLumStringCollection::FindKey(BSTR key, LONG* index) {
  if (index == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *index = findKey(lum::bstrView(key));
  return S_OK;
}

HRESULT CLumStringCollection::Add(BSTR item, BSTR key) {
  return callBoundary(context(L"Add"), [&] {
    Entry entry{lum::Bstr(lum::bstrView(item)), lum::Bstr(lum::bstrView(key))};
    {
      lcLockGuard guard(core().lock());
      entries_.push_back(std::move(entry));
    }
    changed();
  });
}

HRESULT CLumStringCollection::Remove(VARIANT which) {
  return callBoundary(context(L"Remove"), [&] {
    Entry removed;  // freed after the lock
    {
      lcLockGuard guard(core().lock());
      const auto at = entries_.begin() + indexOf(which);
      removed = std::move(*at);
      entries_.erase(at);
    }
    changed();
  });
}

HRESULT CLumStringCollection::Clear() {
  return callBoundary(context(L"Clear"), [&] {
    std::vector<Entry> removed;
    {
      lcLockGuard guard(core().lock());
      removed.swap(entries_);
    }
    if (!removed.empty()) changed();
  });
}

void CLumStringCollection::persistCustom(ILumArchive& archive, LONG mode) {
  if (mode & lumPersistWriting) {
    std::vector<Entry> entries;
    {
      lcLockGuard guard(core().lock());
      entries = entries_;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
      BSTR item = entries[i].item.get();  // the archive copies what it writes
      throwIfFailed(archive.PersistString(numberedName(L"Item", i).get(), &item));
      if (entries[i].key.empty()) continue;
      BSTR key = entries[i].key.get();
      throwIfFailed(archive.PersistString(numberedName(L"Key", i).get(), &key));
    }
    return;
  }
  std::vector<Entry> loaded;
  for (std::size_t i = 0;; ++i) {
    Entry entry;
    const lum::Bstr itemName = numberedName(L"Item", i), keyName = numberedName(L"Key", i);
    if (!archiveHas(archive, itemName) || !readString(archive, itemName, entry.item)) break;
    if (archiveHas(archive, keyName)) readString(archive, keyName, entry.key);
    loaded.push_back(std::move(entry));
  }
  lcLockGuard guard(core().lock());
  entries_.swap(loaded);
}

}  // namespace lumxstd
