// Registers the classes of the core object library in-process when the library loads,
// and revokes them when it unloads.

#include <vector>

#include "lumxip/HalvexCore.h"
#include "lumxstd/message_service.h"

namespace lumxstd {
namespace {

class Registrations {
 public:
  Registrations() {
    add({CLSID_LumMessageService,
         L"Halvex.LumMessageService.1",
         L"Halvex.LumMessageService",
         {},
         L"Message texts and help files",
         lum::makeComObject<lum::SimpleClassFactory<MessageService>>()});
  }
  ~Registrations() {
    for (lum::RegistrationCookie cookie : cookies_)
      lum::revokeClass(cookie);
  }

 private:
  void add(const lum::ClassRegistration& registration) {
    lum::RegistrationCookie cookie = 0;
    if (SUCCEEDED(lum::registerClass(registration, &cookie))) cookies_.push_back(cookie);
  }
  std::vector<lum::RegistrationCookie> cookies_;
};

const Registrations gRegistrations;

}  // namespace
}  // namespace lumxstd
