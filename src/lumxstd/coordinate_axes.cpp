#include "lumxstd/coordinate_axes.h"

namespace lumxstd {

HRESULT CLumCoordinateAxes::SetOrigin(double x, double y) {
  return callBoundary(context(L"SetOrigin"), [&] {
    // Delivery is suspended around the two stores so that a move is one event.
    core().suspendDelivery();
    struct Resume {
      lcComponentCore& core;
      ~Resume() { core.resumeDelivery(); }
    } resume{core()};
    setProperty<&Self::originX_>(x);
    setProperty<&Self::originY_>(y);
  });
}

}  // namespace lumxstd
