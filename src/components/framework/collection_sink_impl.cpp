#include "components/framework/collection_sink_impl.h"

#include <algorithm>
#include <new>

#include "components/framework/com_error.h"
#include "components/framework/event_info.h"
#include "components/framework/snapshot_enumerator.h"

namespace {

bool isObject(const VARIANT& v) {
  return v.vt == VT_UNKNOWN || v.vt == VT_DISPATCH;
}

// Objects are the same when their identities are; other values when VarCmp says equal.
bool sameItem(const VARIANT& a, const VARIANT& b) {
  if (isObject(a) || isObject(b))
    return isObject(a) && isObject(b) && lum::sameObject(a.punkVal, b.punkVal);
  return a.vt == b.vt && VarCmp(&a, &b, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
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

}  // namespace

lcCollectionSinkImpl::~lcCollectionSinkImpl() {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (!it->sink) continue;
    it->sink->detachOwner();
    it->sink->disconnect();
  }
}

LONG lcCollectionSinkImpl::count() const {
  lcLockGuard guard(component_.lock());
  return static_cast<LONG>(entries_.size());
}

lum::Variant lcCollectionSinkImpl::item(LONG index) const {
  lcLockGuard guard(component_.lock());
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) badIndex();
  return entries_[index].item;
}

LONG lcCollectionSinkImpl::findItem(const VARIANT& item) const {
  lum::Variant value;
  if (FAILED(VariantCopyInd(value.ptr(), &item))) return -1;
  lcLockGuard guard(component_.lock());
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (sameItem(*entries_[i].item.ptr(), *value.ptr())) return static_cast<LONG>(i);
  return -1;
}

lum::Bstr lcCollectionSinkImpl::key(LONG index) const {
  lcLockGuard guard(component_.lock());
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) badIndex();
  return entries_[index].key;
}

void lcCollectionSinkImpl::setKey(LONG index, std::wstring_view key) {
  lum::Bstr newKey(key);
  lcLockGuard guard(component_.lock());
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) badIndex();
  entries_[index].key = std::move(newKey);
}

LONG lcCollectionSinkImpl::findKey(std::wstring_view key) const {
  lcLockGuard guard(component_.lock());
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (!entries_[i].key.empty() && entries_[i].key.view() == key) return static_cast<LONG>(i);
  return -1;
}

lum::Variant lcCollectionSinkImpl::accepted(const VARIANT& item) const {
  lum::Variant value;
  throwIfFailed(VariantCopyInd(value.ptr(), &item));
  if (policy_.itemInterface) {
    if (!isObject(*value.ptr()) || !value.get().punkVal) throw lcCOMError(E_INVALIDARG, 0);
    ComPtr<IUnknown> typed;
    if (FAILED(value.get().punkVal->QueryInterface(*policy_.itemInterface, typed.putVoid())))
      throw lcCOMError(E_NOINTERFACE, 0);
  }
  return value;
}

void lcCollectionSinkImpl::checkNotPresent(const VARIANT& item, LONG except) const {
  if (!policy_.refuseDuplicates || !isObject(item)) return;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (static_cast<LONG>(i) != except && sameItem(*entries_[i].item.ptr(), item))
      throw lcCOMError(kCollectionDuplicate, 0);
}

ComPtr<lcAdviseSink> lcCollectionSinkImpl::listenTo(const lum::Variant& item, LONG id) {
  if (!policy_.forwardItemChanges || !isObject(item.get()) || !item.get().punkVal) return nullptr;
  auto sink = lum::makeComObject<lcAdviseSink>(this, id);
  if (sink->connect(item.get().punkVal) != S_OK) return nullptr;  // the item raises no events
  return sink;
}

void lcCollectionSinkImpl::renumberFrom(std::size_t first) {
  for (std::size_t i = first; i < entries_.size(); ++i)
    if (entries_[i].sink) entries_[i].sink->setId(static_cast<LONG>(i));
}

void lcCollectionSinkImpl::raise(DISPID dispid, std::vector<lum::Variant> args) {
  component_.setHasChanged(true);
  if (!policy_.raiseEvents) return;
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it)
    reversed.push_back(*it->ptr());
  component_.deliver(dispid, reversed.data(), static_cast<UINT>(reversed.size()));
}

namespace {
// The managed layer hears of a change before it happens, with the negative ID.
void tellManagedBefore(lcComponentCore& component, bool raiseEvents, DISPID dispid,
                       std::vector<lum::Variant> args) {
  if (!raiseEvents) return;
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it)
    reversed.push_back(*it->ptr());
  component.deliverToManaged(-dispid, reversed.data(), static_cast<UINT>(reversed.size()));
}
}  // namespace

void lcCollectionSinkImpl::add(const VARIANT& item, std::wstring_view key, LONG index) {
  lum::Variant value = accepted(item);
  lum::Bstr entryKey(key);
  {
    lcLockGuard guard(component_.lock());
    if (index == -1) index = static_cast<LONG>(entries_.size());
    if (index < 0 || static_cast<std::size_t>(index) > entries_.size()) badIndex();
    checkNotPresent(*value.ptr(), -1);
  }
  tellManagedBefore(component_, policy_.raiseEvents, DISPID_LumCollectionInserted,
                    {lum::Variant(index)});
  ComPtr<lcAdviseSink> sink = listenTo(value, -1);  // numbered once it is in place
  try {
    lcLockGuard guard(component_.lock());
    if (static_cast<std::size_t>(index) > entries_.size()) badIndex();  // shrank meanwhile
    entries_.insert(entries_.begin() + index, Entry{std::move(value), std::move(entryKey), sink});
    renumberFrom(index);
  } catch (...) {
    if (sink) sink->disconnect();
    throw;
  }
  raise(DISPID_LumCollectionInserted, {lum::Variant(index)});
}

void lcCollectionSinkImpl::replace(LONG index, const VARIANT& item) {
  if (index == count()) {
    add(item, {}, index);
    return;
  }
  lum::Variant value = accepted(item);
  lum::Variant old;
  {
    lcLockGuard guard(component_.lock());
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) badIndex();
    checkNotPresent(*value.ptr(), index);
    old = entries_[index].item;
  }
  tellManagedBefore(component_, policy_.raiseEvents, DISPID_LumCollectionReplaced,
                    {lum::Variant(index), old});
  ComPtr<lcAdviseSink> sink = listenTo(value, -1);
  ComPtr<lcAdviseSink> oldSink;
  {
    lcLockGuard guard(component_.lock());
    if (static_cast<std::size_t>(index) >= entries_.size()) {
      if (sink) sink->disconnect();
      badIndex();
    }
    Entry& entry = entries_[index];
    entry.item = std::move(value);
    oldSink = std::exchange(entry.sink, sink);
    if (sink) sink->setId(index);
  }
  if (oldSink) {
    oldSink->detachOwner();
    oldSink->disconnect();
  }
  raise(DISPID_LumCollectionReplaced, {lum::Variant(index), old});
}

void lcCollectionSinkImpl::remove(LONG index) {
  lum::Variant removed = item(index);  // checks the index
  tellManagedBefore(component_, policy_.raiseEvents, DISPID_LumCollectionRemoved,
                    {lum::Variant(index), removed});
  Entry entry;
  {
    lcLockGuard guard(component_.lock());
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) badIndex();
    entry = std::move(entries_[index]);
    entries_.erase(entries_.begin() + index);
    renumberFrom(index);
  }
  if (entry.sink) {
    entry.sink->detachOwner();
    entry.sink->disconnect();
  }
  raise(DISPID_LumCollectionRemoved, {lum::Variant(index), entry.item});
}

void lcCollectionSinkImpl::removeKey(std::wstring_view key) {
  const LONG index = findKey(key);
  if (index < 0) badIndex();
  remove(index);
}

void lcCollectionSinkImpl::move(LONG from, LONG to) {
  {
    lcLockGuard guard(component_.lock());
    const auto n = static_cast<LONG>(entries_.size());
    if (from < 0 || from >= n || to < 0 || to >= n) badIndex();
  }
  tellManagedBefore(component_, policy_.raiseEvents, DISPID_LumCollectionMoved,
                    {lum::Variant(from), lum::Variant(to)});
  {
    lcLockGuard guard(component_.lock());
    const auto n = static_cast<LONG>(entries_.size());
    if (from >= n || to >= n) badIndex();
    Entry entry = std::move(entries_[from]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + to, std::move(entry));
    renumberFrom(static_cast<std::size_t>(std::min(from, to)));
  }
  raise(DISPID_LumCollectionMoved, {lum::Variant(from), lum::Variant(to)});
}

void lcCollectionSinkImpl::clear() {
  tellManagedBefore(component_, policy_.raiseEvents, DISPID_LumCollectionCleared, {});
  std::vector<Entry> removed;
  {
    lcLockGuard guard(component_.lock());
    removed.swap(entries_);
  }
  for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
    if (!it->sink) continue;
    it->sink->detachOwner();
    it->sink->disconnect();
  }
  while (!removed.empty())
    removed.pop_back();  // items released last first
  raise(DISPID_LumCollectionCleared, {});
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

void lcCollectionSinkImpl::onContainedEvent(LONG sinkId, DISPID dispid,
                                            const std::vector<lum::Variant>& args) {
  lum::Variant sender;
  {
    lcLockGuard guard(component_.lock());
    if (sinkId < 0 || static_cast<std::size_t>(sinkId) >= entries_.size()) return;
    sender = entries_[sinkId].item;
  }
  auto info = lum::makeComObject<lcEventInfo>(dispid, args, sender.get().punkVal, sinkId);
  component_.fireChange(lumStateItemChanged,
                        lum::Variant(static_cast<IDispatch*>(info.get())).get(),
                        lumChangeSetByClient);
}
