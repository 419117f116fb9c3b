#pragma once
// What the geometry tools share about their input image and region: the copies a run
// keeps for its diagnostic record, and the input's sub-records. These tools number their
// record bits alike: current input 1, region 2; diagnostics input by reference 1, deep
// copy 4, region 8.

#include "components/framework/tool_base.h"

struct lcToolInputs {
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
};

// The input (by reference or as a deep copy) and a deep copy of the region, as the
// diagnostic mask asks.
LUM_FRAMEWORK_API lcToolInputs lcLastRunInputs(const lcToolInputs& run, LONG diagnosticMask);

// The current record's "InputImage" sub-record, with "Region" inside it.
LUM_FRAMEWORK_API void lcAddCurrentInputRecord(ILumRecord& record, const lcToolInputs& current,
                                               LONG mask);

// The last run's "InputImage" sub-record, with "Region" inside it.
LUM_FRAMEWORK_API void lcAddLastRunInputRecord(ILumRecord& record, const lcToolInputs& last,
                                               LONG diagnosticMask);

// A last-run sub-record of an image when there is one and `wanted`.
LUM_FRAMEWORK_API void lcAddLastRunImageRecord(ILumRecord& record, const wchar_t* key,
                                               ILumImage* image, bool wanted);
