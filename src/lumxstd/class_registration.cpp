// The classes of the core object library, registered in-process when the library loads
// and revoked when it unloads.

#include "components/framework/module_registration.h"
#include "lumxstd/collection.h"
#include "lumxstd/message_service.h"
#include "lumxstd/persistence_service.h"

namespace lumxstd {
namespace {

const lcModule gModule({
    lcModuleClass::of<MessageService>(),
    lcModuleClass::of<CLumCollection>(),
    lcModuleClass::of<PersistenceService>(),
});

}  // namespace
}  // namespace lumxstd
