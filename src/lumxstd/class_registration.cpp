// The classes of the core object library, registered in-process when the library loads
// and revoked when it unloads, and the library's module entry points.

#include "lumxstd/class_registration.h"

#include "components/framework/module_registration.h"
#include "lumxstd/collection.h"
#include "lumxstd/coord_space_tree.h"
#include "lumxstd/coordinate_axes.h"
#include "lumxstd/graphics.h"
#include "lumxstd/images.h"
#include "lumxstd/message_service.h"
#include "lumxstd/persistence_service.h"
#include "lumxstd/pixel_memory.h"
#include "lumxstd/records.h"
#include "lumxstd/regions.h"
#include "lumxstd/round_regions.h"
#include "lumxstd/run_status.h"
#include "lumxstd/stopwatch.h"
#include "lumxstd/string_collection.h"
#include "lumxstd/transform_objects.h"
#include "platform/module_loader.h"

namespace lumxstd {
namespace {

const lcModule gModule({
    lcModuleClass::of<MessageService>(),
    lcModuleClass::of<CLumCollection>(),
    lcModuleClass::of<PersistenceService>(),
    lcModuleClass::of<CLumTransform2DLinear>(),
    lcModuleClass::of<CLumTransform2D>(),
    lcModuleClass::of<CLumCoordSpaceTree>(),
    lcModuleClass::of<CLumImage8PixelMemory>(),
    lcModuleClass::of<CLumImage16PixelMemory>(),
    lcModuleClass::of<CLumImage8Grey>(),
    lcModuleClass::of<CLumImage16Grey>(),
    lcModuleClass::of<CLumImage16Range>(),
    lcModuleClass::of<CLumImage24PlanarColor>(),
    lcModuleClass::of<CLumRectangle>(),
    lcModuleClass::of<CLumRectangleAffine>(),
    lcModuleClass::of<CLumCircle>(),
    lcModuleClass::of<CLumEllipse>(),
    lcModuleClass::of<CLumCircularAnnulus>(),
    lcModuleClass::of<CLumEllipticalAnnulus>(),
    lcModuleClass::of<CLumEllipticalAnnulusSection>(),
    lcModuleClass::of<CLumPolygon>(),
    lcModuleClass::of<CLumRunStatus>(),
    lcModuleClass::of<CLumRecord>(),
    lcModuleClass::of<CLumStringCollection>(),
    lcModuleClass::of<CLumStopwatch>(),
    lcModuleClass::of<CLumCoordinateAxes>(),
    lcModuleClass::of<CLumLineGraphic>(),
    lcModuleClass::of<CLumPolylineGraphic>(),
    lcModuleClass::of<CLumTextGraphic>(),
    lcModuleClass::of<CLumGraphicCollection>(),
});

}  // namespace

std::filesystem::path modulePath() {
  return lum::modulePathOf(&gModule);
}

}  // namespace lumxstd

// The same entry points as every module; a process holding both this library and lumxip
// reaches each one's through dlsym on its own handle.
extern "C" LUM_VISIBLE HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return lumxstd::gModule.getClassObject(clsid, iid, object);
}

extern "C" LUM_VISIBLE HRESULT DllCanUnloadNow() {
  return lumxstd::gModule.canUnloadNow();
}

extern "C" LUM_VISIBLE HRESULT DllRegisterServer() {
  return lumxstd::gModule.registerServer();
}

extern "C" LUM_VISIBLE HRESULT DllUnregisterServer() {
  return lumxstd::gModule.unregisterServer();
}
