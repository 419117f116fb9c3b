// The classes of the core object library, registered in-process when the library loads
// and revoked when it unloads.

#include "components/framework/module_registration.h"
#include "lumxstd/collection.h"
#include "lumxstd/coord_space_tree.h"
#include "lumxstd/coordinate_axes.h"
#include "lumxstd/images.h"
#include "lumxstd/message_service.h"
#include "lumxstd/persistence_service.h"
#include "lumxstd/pixel_memory.h"
#include "lumxstd/records.h"
#include "lumxstd/regions.h"
#include "lumxstd/run_status.h"
#include "lumxstd/stopwatch.h"
#include "lumxstd/string_collection.h"
#include "lumxstd/transform_objects.h"

namespace lumxstd {
namespace {

const lcModule gModule({
    lcModuleClass::of<MessageService>(),        lcModuleClass::of<CLumCollection>(),
    lcModuleClass::of<PersistenceService>(),    lcModuleClass::of<CLumTransform2DLinear>(),
    lcModuleClass::of<CLumTransform2D>(),       lcModuleClass::of<CLumCoordSpaceTree>(),
    lcModuleClass::of<CLumImage8PixelMemory>(), lcModuleClass::of<CLumImage16PixelMemory>(),
    lcModuleClass::of<CLumImage8Grey>(),        lcModuleClass::of<CLumImage16Grey>(),
    lcModuleClass::of<CLumImage16Range>(),      lcModuleClass::of<CLumImage24PlanarColor>(),
    lcModuleClass::of<CLumRectangle>(),         lcModuleClass::of<CLumRectangleAffine>(),
    lcModuleClass::of<CLumRunStatus>(),         lcModuleClass::of<CLumRecord>(),
    lcModuleClass::of<CLumStringCollection>(),  lcModuleClass::of<CLumStopwatch>(),
    lcModuleClass::of<CLumCoordinateAxes>(),
});

}  // namespace
}  // namespace lumxstd
