#pragma once
// The Sobel edge detector: the 3 x 3 gradient of an 8-bit image turned into an 8-bit
// magnitude and an angle code per pixel (tables in sobel_tables.h).
//
// For pixel p(x, y):
//   gx = (p(x+1,y-1) + 2 p(x+1,y) + p(x+1,y+1)) - (p(x-1,y-1) + 2 p(x-1,y) + p(x-1,y+1))
//   gy = (p(x-1,y+1) + 2 p(x,y+1) + p(x+1,y+1)) - (p(x-1,y-1) + 2 p(x,y-1) + p(x+1,y-1))
// each reduced to -127..127 by dividing by 8, rounding to nearest with halves toward
// zero. Neighbours come from the image around the window where it has them; on a side
// where the window touches the image's edge the missing row or column is taken to be a
// copy of the window's edge row or column.

#include <cstdint>

#include "ip/sobel95/sobel_errors.h"
#include "ip/sobel95/sobel_tables.h"
#include "std/pelbuf/pel_buffer.h"

struct lcSobelEdgeParams {
  double magnitudeScale = 1.0;  // multiplies every magnitude before it saturates at 255
};

class lcSobelEdgeDetector {
 public:
  // lcEdgeletDefs::BadParams unless the scale is a positive finite number.
  explicit lcSobelEdgeDetector(const lcSobelEdgeParams& params);

  // Makes `magnitude` and `angle` anew: roots one pixel larger than the source window on
  // every side, the margin 0, the windows at the source window's buffer rectangle, with
  // the source's transform. lcPel::UnboundWindow for an unbound source, lcPel::BadWindow
  // for a window below 3 x 3. Kernel "cip_sobelEdge_8".
  void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& magnitude,
           lcPelBuffer<uint8_t>& angle) const;

 private:
  lcSobelMagnitudeTable magnitude_;
};
