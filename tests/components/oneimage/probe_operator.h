#pragma once
// A one-image operator for the chain's tests: it adds one to every pixel, records whether
// each Execute got a region, and fails with a given result when told to.

#include <vector>

#include "components/oneimage/operator_impl.h"
#include "std/pelbuf/pel_drivers.h"

struct ProbeParams {};

class CProbeOperator final
    : public lcIPOneImageOperatorImpl<CProbeOperator, ILumIPOneImageOperator, ProbeParams> {
 public:
  static constexpr lcClassDeclaration kClass{lum::guid("{5D1E0B4A-0000-4000-8000-0000000022A1}"),
                                             L"CProbeOperator", L"Halvex.TestProbeOperator"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8 | lcImageFormatGrey16};
  static constexpr auto ownMembers() { return lum::members(); }

  std::vector<bool> sawRegion;
  HRESULT failWith = S_OK;

  HRESULT Execute(ILumImage* input, LONG mode, ILumRegion* region, ILumImage** output) override {
    sawRegion.push_back(region != nullptr);
    if (failWith != S_OK) {
      if (output) *output = nullptr;
      return callBoundary(context(L"Execute"), [&] {
        throw lcCOMError::withDescription(failWith, L"the probe was told to fail");
      });
    }
    return lcIPOneImageOperatorImpl::Execute(input, mode, region, output);
  }

  template <class Pel>
  static void run(const lcPelBuffer<Pel>& source, lcPelBuffer<Pel>& result, const ProbeParams&,
                  int = -1) {
    lcForEachRow(source, result, [](const Pel* in, Pel* out, int32_t width) {
      for (int32_t i = 0; i < width; ++i)
        out[i] = Pel(in[i] + 1);
    });
  }
};
