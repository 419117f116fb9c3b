#pragma once
// How the sampling kernels run: the result allocated at its placement with the derived
// transform, then its rows in bands on the worker pool, each band by the fast twin or
// the portable one as the kernel-selection hook and the fast twin's status decide.

#include <cstdint>

#include "ip/sampling/sampling_place.h"
#include "std/pelbuf/pel_bands.h"
#include "std/pelbuf/pel_xform.h"
#include "std/util/kernel_selection.h"

// The status of a fast twin that leaves a call to the portable one.
inline constexpr int32_t lcSamplingDeclined = 0x600;

// fast(job) and portable(job) each fill the band job.band of job.out and return a status.
template <class S, class D, class Fast, class Portable>
void lcRunSamplingKernel(const char* name, const lcPelBuffer<S>& src, lcPelBuffer<D>& dst,
                         const lcSamplingPlacement& place, const lcBandRule& rule, const Fast& fast,
                         const Portable& portable) {
  if (!src.isBound()) throw lcPel::UnboundWindow();
  lcAllocateDerived(src, dst, place.destination, place.sourceFromDestination);
  lcForEachBand(src, dst, place.destination, rule, [&](const lcPelBand<S, D>& job) {
    lcRunKernel(
        name, [&] { return fast(job); }, [&] { return portable(job); });
  });
}
