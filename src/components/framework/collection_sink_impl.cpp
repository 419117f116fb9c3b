#include "components/framework/collection_sink_impl.h"

#include <algorithm>
#include <new>
#include <string>

#include "components/framework/com_error.h"
#include "components/framework/event_info.h"
#include "components/framework/snapshot_enumerator.h"

namespace {

bool isObject(const VARIANT& v) {
  return v.vt == VT_UNKNOWN || v.vt == VT_DISPATCH;
}

// Null for values and null objects. An object that will not say its identity stands
// for itself.
ComPtr<IUnknown> identityOf(const VARIANT& item) {
  if (!isObject(item) || !item.punkVal) return nullptr;
  ComPtr<IUnknown> identity;
  if (FAILED(item.punkVal->QueryInterface(iid_of<IUnknown>, identity.putVoid())) || !identity)
    identity = item.punkVal;
  return identity;
}

[[noreturn]] void badIndex() {
  throw lcCOMError(kCollectionBadIndex, 0);
}

using VariantEnumerator = lcSnapshotEnumerator<IEnumVARIANT, VARIANT, lum::Variant>;

HRESULT copyVariant(const lum::Variant& stored, VARIANT* item) {
  VariantInit(item);
  return VariantCopy(item, stored.ptr());
}

void clearVariant(VARIANT* item) {
  VariantClear(item);
}

std::vector<VARIANT> lastFirst(const std::vector<lum::Variant>& args) {
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it)
    reversed.push_back(*it->ptr());
  return reversed;
}

lum::Bstr numbered(const wchar_t* prefix, std::size_t n) {
  return lum::Bstr(std::wstring(prefix) + std::to_wstring(n));
}

// Entries go last first, as Clear removes them.
template <class Entries>
void releaseLastFirst(Entries& entries) {
  while (!entries.empty())
    entries.pop_back();
}

}  // namespace

// An item's event may be on its way in on another thread: the entries leave under the
// lock, and releasing each waits for its sink's events in flight.
lcCollectionSinkImpl::~lcCollectionSinkImpl() {
  std::vector<Entry> entries;
  {
    lcLockGuard guard(component_.lock());
    entries.swap(entries_);
  }
  releaseLastFirst(entries);
}

// ---- reading ------------------------------------------------------------------------

LONG lcCollectionSinkImpl::count() const {
  lcLockGuard guard(component_.lock());
  return static_cast<LONG>(entries_.size());
}

void lcCollectionSinkImpl::checkIndex(LONG index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) badIndex();
}

lum::Variant lcCollectionSinkImpl::item(LONG index) const {
  lcLockGuard guard(component_.lock());
  checkIndex(index);
  return entries_[index].item;
}

// Objects match by identity (a null object matches a null object); other values when
// VarCmp finds them equal and of one type. Nothing but the entries is touched.
bool lcCollectionSinkImpl::Entry::holds(const VARIANT& value, const IUnknown* valueIdentity) const {
  const VARIANT& held = item.get();
  if (isObject(value)) return isObject(held) && identity.get() == valueIdentity;
  return held.vt == value.vt && VarCmp(&held, &value, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
}

LONG lcCollectionSinkImpl::findItem(const VARIANT& item) const {
  lum::Variant value;
  if (FAILED(VariantCopyInd(value.ptr(), &item))) return -1;
  const ComPtr<IUnknown> identity = identityOf(value.get());
  lcLockGuard guard(component_.lock());
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].holds(value.get(), identity.get())) return static_cast<LONG>(i);
  return -1;
}

lum::Bstr lcCollectionSinkImpl::key(LONG index) const {
  lcLockGuard guard(component_.lock());
  checkIndex(index);
  return entries_[index].key;
}

void lcCollectionSinkImpl::setKey(LONG index, std::wstring_view key) {
  lum::Bstr newKey(key);
  lcLockGuard guard(component_.lock());
  checkIndex(index);
  entries_[index].key.swap(newKey);
}

LONG lcCollectionSinkImpl::findKey(std::wstring_view key) const {
  lcLockGuard guard(component_.lock());
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (!entries_[i].key.empty() && entries_[i].key.view() == key) return static_cast<LONG>(i);
  return -1;
}

ComPtr<IEnumVARIANT> lcCollectionSinkImpl::enumerate() const {
  std::vector<lum::Variant> items;
  {
    lcLockGuard guard(component_.lock());
    for (const Entry& e : entries_)
      items.push_back(e.item);
  }
  return lum::makeComObject<VariantEnumerator>(std::move(items), &copyVariant, &clearVariant);
}

// ---- changing -----------------------------------------------------------------------

lcCollectionSinkImpl::Entry lcCollectionSinkImpl::prepare(const VARIANT& item,
                                                          std::wstring_view key) {
  Entry entry;
  throwIfFailed(VariantCopyInd(entry.item.ptr(), &item));
  const VARIANT& value = entry.item.get();
  if (policy_.itemInterface) {
    if (!isObject(value) || !value.punkVal) throw lcCOMError(E_INVALIDARG, 0);
    ComPtr<IUnknown> typed;
    if (FAILED(value.punkVal->QueryInterface(*policy_.itemInterface, typed.putVoid())))
      throw lcCOMError(E_NOINTERFACE, 0);
  }
  entry.identity = identityOf(value);
  entry.key = lum::Bstr(key);
  entry.serial = nextSerial_.fetch_add(1) & 0x7FFFFFFF;
  if (policy_.forwardItemChanges && entry.identity) {
    auto sink = lum::makeComObject<lcAdviseSink>(this, entry.serial);
    throwIfFailed(sink->connect(entry.identity.get()));  // S_FALSE: the item raises no events
    entry.sink = lcSinkConnection(std::move(sink));
  }
  return entry;
}

// A null object is no object: any number of them may be held.
void lcCollectionSinkImpl::checkNotPresent(const std::vector<Entry>& entries, const Entry& entry,
                                           LONG except) const {
  if (!policy_.refuseDuplicates || !entry.identity) return;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (static_cast<LONG>(i) != except && entries[i].identity == entry.identity)
      throw lcCOMError(kCollectionDuplicate, 0);
}

LONG lcCollectionSinkImpl::insertionIndex(LONG index, const Entry& entry) const {
  const auto end = static_cast<LONG>(entries_.size());
  if (index == -1) index = end;
  if (index < 0 || index > end) badIndex();
  checkNotPresent(entries_, entry, -1);
  return index;
}

lcCollectionSinkImpl::Entry lcCollectionSinkImpl::takeAt(LONG index) {
  Entry taken = std::move(entries_[index]);
  entries_.erase(entries_.begin() + index);
  return taken;
}

void lcCollectionSinkImpl::add(const VARIANT& item, std::wstring_view key, LONG index) {
  insert(prepare(item, key), index);
}

// Checked once for the managed layer's early word, then checked again and done in one
// critical section: another thread may have changed the list in between.
void lcCollectionSinkImpl::insert(Entry entry, LONG index) {
  LONG at = 0;
  {
    lcLockGuard guard(component_.lock());
    at = insertionIndex(index, entry);
  }
  tellManagedBefore(DISPID_LumCollectionInserted, {lum::Variant(at)});
  {
    lcLockGuard guard(component_.lock());
    at = insertionIndex(index, entry);
    entries_.insert(entries_.begin() + at, std::move(entry));
  }
  raise(DISPID_LumCollectionInserted, {lum::Variant(at)});
}

void lcCollectionSinkImpl::replace(LONG index, const VARIANT& item) {
  Entry entry = prepare(item, {});
  bool appending = false;
  lum::Variant old;
  {
    lcLockGuard guard(component_.lock());
    appending = index == static_cast<LONG>(entries_.size());
    if (!appending) {
      checkIndex(index);
      checkNotPresent(entries_, entry, index);
      old = entries_[index].item;
    }
  }
  // The end when asked; another thread may have added or removed since, and an append
  // must not become an insertion before the last item.
  if (appending) return insert(std::move(entry), -1);
  tellManagedBefore(DISPID_LumCollectionReplaced, {lum::Variant(index), old});
  {
    lcLockGuard guard(component_.lock());
    checkIndex(index);
    checkNotPresent(entries_, entry, index);
    Entry& held = entries_[index];  // keeps its key
    std::swap(held.item, entry.item);
    std::swap(held.identity, entry.identity);
    std::swap(held.serial, entry.serial);
    std::swap(held.sink, entry.sink);
  }
  raise(DISPID_LumCollectionReplaced, {lum::Variant(index), entry.item});
}

// `locate` runs under the lock and gives the index of the entry to remove, or throws.
template <class Locate>
void lcCollectionSinkImpl::removeWhere(Locate locate) {
  LONG index = 0;
  lum::Variant item;
  {
    lcLockGuard guard(component_.lock());
    index = locate();
    item = entries_[index].item;
  }
  tellManagedBefore(DISPID_LumCollectionRemoved, {lum::Variant(index), item});
  Entry removed;
  {
    lcLockGuard guard(component_.lock());
    index = locate();
    removed = takeAt(index);
  }
  raise(DISPID_LumCollectionRemoved, {lum::Variant(index), removed.item});
}

void lcCollectionSinkImpl::remove(LONG index) {
  removeWhere([&] {
    checkIndex(index);
    return index;
  });
}

void lcCollectionSinkImpl::removeKey(std::wstring_view key) {
  removeWhere([&] {
    const LONG index = findKey(key);
    if (index < 0) badIndex();
    return index;
  });
}

void lcCollectionSinkImpl::move(LONG from, LONG to) {
  {
    lcLockGuard guard(component_.lock());
    checkIndex(from);
    checkIndex(to);
  }
  tellManagedBefore(DISPID_LumCollectionMoved, {lum::Variant(from), lum::Variant(to)});
  {
    lcLockGuard guard(component_.lock());
    checkIndex(from);
    checkIndex(to);
    const auto first = entries_.begin();
    if (from < to)
      std::rotate(first + from, first + from + 1, first + to + 1);
    else
      std::rotate(first + to, first + from, first + from + 1);
  }
  raise(DISPID_LumCollectionMoved, {lum::Variant(from), lum::Variant(to)});
}

void lcCollectionSinkImpl::clear() {
  tellManagedBefore(DISPID_LumCollectionCleared, {});
  std::vector<Entry> removed;
  {
    lcLockGuard guard(component_.lock());
    removed.swap(entries_);
  }
  releaseLastFirst(removed);
  raise(DISPID_LumCollectionCleared, {});
}

void lcCollectionSinkImpl::raise(DISPID dispid, std::vector<lum::Variant> args) {
  component_.setHasChanged(true);
  if (!policy_.raiseEvents) return;
  std::vector<VARIANT> reversed = lastFirst(args);
  component_.deliver(dispid, reversed.data(), static_cast<UINT>(reversed.size()));
}

// The managed layer hears of a change before it happens, with the negative ID.
void lcCollectionSinkImpl::tellManagedBefore(DISPID dispid, std::vector<lum::Variant> args) {
  if (!policy_.raiseEvents) return;
  std::vector<VARIANT> reversed = lastFirst(args);
  component_.deliverToManaged(-dispid, reversed.data(), static_cast<UINT>(reversed.size()));
}

// ---- item events --------------------------------------------------------------------

void lcCollectionSinkImpl::onContainedEvent(LONG serial, DISPID dispid,
                                            const std::vector<lum::Variant>& args) {
  lum::Variant sender;
  LONG index = -1;
  {
    lcLockGuard guard(component_.lock());
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& e) { return e.serial == serial; });
    if (found == entries_.end()) return;  // the entry left meanwhile
    index = static_cast<LONG>(found - entries_.begin());
    sender = found->item;
  }
  auto info = lum::makeComObject<lcEventInfo>(dispid, args, sender.get().punkVal, index);
  component_.fireChange(lumStateItemChanged,
                        lum::Variant(static_cast<IDispatch*>(info.get())).get(),
                        lumChangeSetByClient);
}

// ---- persistence --------------------------------------------------------------------

void lcCollectionSinkImpl::persist(ILumArchive& archive, LONG mode) {
  if (mode & lumPersistWriting)
    writeItems(archive);
  else
    readItems(archive);
}

void lcCollectionSinkImpl::writeItems(ILumArchive& archive) {
  std::vector<std::pair<lum::Variant, lum::Bstr>> items;
  {
    lcLockGuard guard(component_.lock());
    for (const Entry& e : entries_)
      items.emplace_back(e.item, e.key);
  }
  for (std::size_t n = 0; n < items.size(); ++n) {
    auto& [item, key] = items[n];
    throwIfFailed(archive.PersistVariant(numbered(L"Item", n).get(), item.ptr()));
    if (key.empty()) continue;
    BSTR text = key.get();
    throwIfFailed(archive.PersistString(numbered(L"Key", n).get(), &text));
  }
}

namespace {
// Asked first, so that the end of the list and entries without a key note no problem.
bool holds(ILumArchive& archive, const lum::Bstr& name) {
  LONG index = -1;
  archive.FindKey(name.get(), &index);
  return index >= 0;
}
}  // namespace

void lcCollectionSinkImpl::readItems(ILumArchive& archive) {
  std::vector<Entry> loaded;
  for (std::size_t n = 0;; ++n) {
    const lum::Bstr itemName = numbered(L"Item", n);
    if (!holds(archive, itemName)) break;
    lum::Variant item;
    const HRESULT hr = archive.PersistVariant(itemName.get(), item.ptr());
    throwIfFailed(hr);
    if (hr != S_OK) break;
    lum::Bstr key;
    if (const lum::Bstr keyName = numbered(L"Key", n); holds(archive, keyName)) {
      BSTR text = nullptr;
      throwIfFailed(archive.PersistString(keyName.get(), &text));
      key = lum::Bstr::attach(text);
    }
    try {
      Entry entry = prepare(item.get(), key.view());
      checkNotPresent(loaded, entry, -1);
      loaded.push_back(std::move(entry));
    } catch (const lcCOMError&) {
      archive.AddProblem(itemName.get(), lum::Bstr(L"<value refused>").get());
    }
  }
  {
    lcLockGuard guard(component_.lock());
    entries_.swap(loaded);  // the entries held before leave with `loaded`
  }
  releaseLastFirst(loaded);
}
