#pragma once
// One-image operators: the members every one of them shares, Execute, and the ordered
// collection a one-image tool runs as a chain.

#include "lumxip/HalvexCore.h"
#include "lumxip/ip/identifiers.h"
#include "lumxip/property_lists.h"

// clang-format off
#define LUM_IP_ONE_IMAGE_OPERATOR_PROPERTIES(P, x)                                        \
  P(x, flag, Enabled, VARIANT_BOOL, 16863581, true, lcNoCheck{},                           \
    "Whether a tool's chain runs the operator; Execute called directly always runs")       \
  P(x, rw, ControlProgID, BSTR, 16863634, defaultControlProgId(), lcNoCheck{},             \
    "ProgID of the control that edits the operator")                                      \
  P(x, rw, OperatorName, BSTR, 16863582, L"", lcNoCheck{},                                 \
    "Name of the operator, used in the messages of a failed chain")
// clang-format on

inline constexpr DISPID DISPID_LumIPOneImageOperator_Execute = 0x101E001;

LUM_INTERFACE_ID(ILumIPOneImageOperatorParams, IDispatch, IID_ILumIPOneImageOperatorParams);
struct LUM_VISIBLE ILumIPOneImageOperatorParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_IP_ONE_IMAGE_OPERATOR_PROPERTIES)
};

LUM_INTERFACE_ID(ILumIPOneImageOperator, ILumIPOneImageOperatorParams, IID_ILumIPOneImageOperator);
struct LUM_VISIBLE ILumIPOneImageOperator : ILumIPOneImageOperatorParams {
  // A new image made from `input` within `region` (optional; none: the whole image).
  // Region modes 1 and 2 are accepted where the operator supports them.
  virtual HRESULT Execute(ILumImage* input, LONG regionMode, ILumRegion* region,
                          ILumImage** output) = 0;
};

// The common operator states, with each operator's prefix: LUM_OPERATOR_STATE_IDS(lumX_).
#define LUM_OPERATOR_STATE_IDS(prefix) LUM_STATE_IDS(LUM_IP_ONE_IMAGE_OPERATOR_PROPERTIES, prefix)

enum LumIPOneImageOperatorStateIDs : int32_t { LUM_OPERATOR_STATE_IDS(lumIPOneImageOperator_) };

// An ordered chain of one-image operators, indexes from 0. Index errors give 0x8004C180,
// an operator added twice 0x8004C184.
LUM_INTERFACE_ID(ILumIPOneImageOperators, IDispatch, IID_ILumIPOneImageOperators);
struct LUM_VISIBLE ILumIPOneImageOperators : IDispatch {
  virtual HRESULT get__NewEnum(IUnknown** enumerator) = 0;
  virtual HRESULT get_Count(LONG* count) = 0;
  virtual HRESULT get_Item(LONG index, ILumIPOneImageOperatorParams** item) = 0;
  // The index of the first entry holding `item` (by identity), -1 if none.
  virtual HRESULT FindItem(ILumIPOneImageOperatorParams* item, LONG* index) = 0;
  virtual HRESULT Remove(LONG index) = 0;
  // Takes the entry out at `from` and inserts it at `to`, counted after the removal.
  virtual HRESULT Move(LONG from, LONG to) = 0;
  // Removes every entry, last first.
  virtual HRESULT Clear() = 0;
  // Replaces the entry at `index`; `index` = Count appends.
  virtual HRESULT putref_Item(LONG index, ILumIPOneImageOperatorParams* item) = 0;
  // Inserts at `index` (-1: at the end).
  virtual HRESULT Add(ILumIPOneImageOperatorParams* item, LONG index) = 0;
};
