#pragma once
// The entries of an ordered collection and what keeps them listened to: each entry holds
// its item, an optional key and an advise sink on the item. The sink reports the entry's
// serial number, fixed when the entry is made; the collection finds the entry's position
// from it when the event arrives, so an item's change becomes the collection's own
// change (state ID -2, flag 1, an lcEventInfo as value) with the item's current index.
//
// Locking: every operation reads and changes the entries in one critical section of the
// component's lock and calls nothing else while it holds it (items, sinks, the managed
// layer and the collection's own sinks are called before or after). Items are compared
// under the lock by the identity taken when they were added. Entries leave the list
// under the lock and are released after it, which disconnects their sinks.
//
// What differs between collections is the policy the class picks.

#include <atomic>
#include <string_view>
#include <vector>

#include "components/framework/advise_sink.h"
#include "components/framework/component_core.h"
#include "components/framework/export.h"

struct lcCollectionPolicy {
  const IID* itemInterface = nullptr;  // null: any value; else non-null objects answering it
  bool refuseDuplicates = true;        // an object already present gives 0x8004C184
  bool raiseEvents = true;             // collection events 1152..1157
  bool forwardItemChanges = true;      // items' change events become state -2
};

inline constexpr HRESULT kCollectionBadIndex = hresultFrom(0x8004C180);
inline constexpr HRESULT kCollectionDuplicate = hresultFrom(0x8004C184);

// Every operation throws lcCOMError on a bad index or item; call inside a boundary.
class LUM_VISIBLE lcCollectionSinkImpl final : public lcSinkOwner {
 public:
  lcCollectionSinkImpl(lcComponentCore& component, lcCollectionPolicy policy)
      : component_(component), policy_(policy) {}
  ~lcCollectionSinkImpl() override;
  lcCollectionSinkImpl(const lcCollectionSinkImpl&) = delete;
  lcCollectionSinkImpl& operator=(const lcCollectionSinkImpl&) = delete;

  LONG count() const;
  lum::Variant item(LONG index) const;
  LONG findItem(const VARIANT& item) const;  // -1 when absent
  lum::Bstr key(LONG index) const;
  void setKey(LONG index, std::wstring_view key);
  LONG findKey(std::wstring_view key) const;  // -1 when absent

  // `index` -1 or count() appends.
  void add(const VARIANT& item, std::wstring_view key = {}, LONG index = -1);
  // `index` count() appends.
  void replace(LONG index, const VARIANT& item);
  void remove(LONG index);
  void removeKey(std::wstring_view key);
  void move(LONG from, LONG to);
  void clear();
  // An enumerator over a snapshot of the items.
  ComPtr<IEnumVARIANT> enumerate() const;

  // Writes the items with their keys in order ("Item<n>", "Key<n>" for a non-empty key,
  // n from 0), or replaces the entries with those read, without collection events. An
  // item the policy refuses is noted as the archive's problem and left out.
  void persist(ILumArchive& archive, LONG mode);

  void onContainedEvent(LONG sinkId, DISPID dispid, const std::vector<lum::Variant>& args) override;

 private:
  struct Entry {
    lum::Variant item;
    ComPtr<IUnknown> identity;  // of an object item; null for values and null objects
    lum::Bstr key;
    LONG serial = -1;  // what its sink reports
    lcSinkConnection sink;

    bool holds(const VARIANT& value, const IUnknown* valueIdentity) const;
  };

  // A new entry, made outside the lock: the item checked and copied, its sink connected.
  Entry prepare(const VARIANT& item, std::wstring_view key);
  // Throws unless `entry` may join `entries`, or replace its entry `except`.
  void checkNotPresent(const std::vector<Entry>& entries, const Entry& entry, LONG except) const;
  void checkIndex(LONG index) const;                          // under the lock
  LONG insertionIndex(LONG index, const Entry& entry) const;  // under the lock
  void insert(Entry entry, LONG index);
  template <class Locate>
  void removeWhere(Locate locate);
  Entry takeAt(LONG index);  // under the lock
  void writeItems(ILumArchive& archive);
  void readItems(ILumArchive& archive);
  void raise(DISPID dispid, std::vector<lum::Variant> args);  // after the change
  void tellManagedBefore(DISPID dispid, std::vector<lum::Variant> args);

  lcComponentCore& component_;
  const lcCollectionPolicy policy_;
  std::vector<Entry> entries_;  // guarded by the component's lock
  std::atomic<LONG> nextSerial_{0};
};
