#include "components/framework/call_boundary.h"

#include <exception>
#include <new>
#include <string>

#include "components/framework/com_error.h"
#include "components/framework/error_reporting.h"
#include "components/framework/message_service_client.h"
#include "platform/bstr.h"
#include "std/except/exception.h"

namespace {

HRESULT reportForeign(const lcErrorContext& context, const char* what) noexcept {
  try {
    const uint32_t messageId = messageIdForResult(E_UNEXPECTED, 0);
    std::wstring text = lum::messageText(messageId).value_or(errorSource(context) +
                                                             lum::unableToLoadMessage(messageId));
    text += L"\r\nUnexpected C++ exception";
    if (what && *what) text += L": " + lum::fromUtf8(what);
    lcErrorReport report;
    report.code = E_UNEXPECTED;
    report.text = std::move(text);
    return reportError(context, report);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace

lcBoundaryOutcome reportCurrentException(const lcErrorContext& context) noexcept {
  try {
    throw;
  } catch (const lcException& e) {
    return {reportCoreException(context, e), lcCaught::coreException};
  } catch (const lcCOMError& e) {
    return {reportComError(context, e), lcCaught::comError};
  } catch (const std::bad_alloc&) {
    return {reportError(context, E_OUTOFMEMORY, 0), lcCaught::outOfMemory};
  } catch (const std::exception& e) {
    return {reportForeign(context, e.what()), lcCaught::foreign};
  } catch (...) {
    return {reportForeign(context, nullptr), lcCaught::foreign};
  }
}
