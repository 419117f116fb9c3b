#include "components/orient/flip_rotate.h"

#include "ip/orient/flip_rotate.h"

void CLumIPOneImageFlipRotate::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                                   const Parameters& p, int) {
  lcFlipRotate(source, result, p.OperationInPixelSpace);
}

void CLumIPOneImageFlipRotate::run(const lcPelBuffer<uint16_t>& source,
                                   lcPelBuffer<uint16_t>& result, const Parameters& p) {
  lcFlipRotate(source, result, p.OperationInPixelSpace);
}
