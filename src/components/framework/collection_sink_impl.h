#pragma once
// The entries of an ordered collection and what keeps them listened to: each entry holds
// its item, an optional key and an advise sink on the item whose identifier is the
// entry's position (kept right after every insert, remove and move). An item's change
// becomes the collection's own change (state ID -2, flag 1, an lcEventInfo as value).
//
// What differs between collections is the policy the class picks.

#include <string_view>
#include <vector>

#include "components/framework/advise_sink.h"
#include "components/framework/component_core.h"
#include "components/framework/export.h"

struct lcCollectionPolicy {
  const IID* itemInterface = nullptr;  // null: any value; else objects answering it
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

  void onContainedEvent(LONG sinkId, DISPID dispid, const std::vector<lum::Variant>& args) override;

 private:
  struct Entry {
    lum::Variant item;
    lum::Bstr key;
    ComPtr<lcAdviseSink> sink;
  };

  lum::Variant accepted(const VARIANT& item) const;  // checks and copies a new item
  void checkNotPresent(const VARIANT& item, LONG except) const;
  ComPtr<lcAdviseSink> listenTo(const lum::Variant& item, LONG id);
  void renumberFrom(std::size_t first);
  void raise(DISPID dispid, std::vector<lum::Variant> args);  // before (managed) and after

  lcComponentCore& component_;
  const lcCollectionPolicy policy_;
  std::vector<Entry> entries_;  // guarded by the component's lock
};
