#include "lumxstd/message_texts.h"

#include <algorithm>
#include <iterator>

#include "lumxip/ip/result_codes.h"

namespace lumxstd {
namespace {

struct MessageText {
  uint32_t id;
  const wchar_t* text;
};

// Sorted by identifier.
constexpr MessageText kMessages[] = {
    // Standard results (for codes that carry no message of their own).
    {0x80040110, L"The class cannot be created as part of an aggregate."},
    {0x80040200, L"There is no connection for this cookie."},
    {0x80040202, L"The sink does not support the event interface."},
    {0x8004020A, L"Operator \"%1\" at position %2 failed."},
// This library's own results.
#define LUM_DETAIL_MESSAGE(name, code, text) {code, L"" text},
    LUM_IP_RESULT_CODES(LUM_DETAIL_MESSAGE)
#undef LUM_DETAIL_MESSAGE
    // Descriptions of standard result codes.
    {0x80048080, L"Unspecified error."},
    {0x80048081, L"Catastrophic failure."},
    {0x80048082, L"Out of memory."},
    {0x80048083, L"One or more arguments are invalid."},
    {0x80048084, L"Invalid pointer."},
    {0x80048085, L"No such interface supported."},
    {0x80048086, L"Member not found."},
    {0x80048087, L"Type mismatch."},
    {0x80048088, L"Out of present range."},
    {0x80048089, L"Invalid index."},
    {0x8004808A, L"Invalid number of parameters."},
    {0x8004808B, L"Parameter not optional."},
    {0x8004808C, L"Unknown name."},
    {0x8004808D, L"The path is not valid."},
    // Parameter checks: "%1" is the property.
    {0x80048100, L"The value of %1 is out of range."},
    {0x80048101, L"The value of %1 must be %2 or %3."},
    {0x80048104, L"%1 must be greater than %2."},
    {0x80048105, L"%1 must not be less than %2."},
    {0x80048107, L"%1 is too large (%2)."},
    {0x80048109, L"The object %1 could not be created."},
    {0x8004810A, L"The value of %1 is not a member of its enumeration."},
    {0x8004810C, L"%1 must be a one-dimensional array."},
    {0x8004810D, L"The bounds of %1 must be %2 to %3."},
    {0x8004810F, L"The index is outside %1."},
    {0x80048115, L"Region mode %2 is not supported for %1."},
    {0x8004811D, L"The region cannot be converted into a pixel mask."},
    {0x80048120, L"The window must be at least %1 pixels wide and high."},
    {0x80048121, L"The window must be at most %1 pixels wide and high."},
    {0x80048122, L"The region does not overlap the image."},
    {0x80048202, L"\"%1\" is not a valid property name."},
    {0x80048400, L"The operation completed successfully."},
    // The core object library's results.
    {0x8004C002, L"The operation timed out."},
    {0x8004C004, L"The value is not valid here."},
    {0x8004C180, L"The index is outside the collection."},
    {0x8004C184, L"The object is already in the collection."},
    {0x8004E102, L"The image has no pixels."},
    {0x8004E103, L"The window lies outside the image."},
    {0x8004E104, L"A pixel coordinate lies outside the image."},
    {0x8004E105, L"The image's pixel format is not supported."},
    {0x8004E200, L"The transform is not linear."},
    {0x8004E301, L"The region is not an affine rectangle."},
    {0x8004E400, L"There is no input image."},
    {0x8004E402, L"The region or coordinate space does not fit the image."},
    {0x8004E500, L"There are no run parameters."},
};

constexpr bool sortedById() {
  return std::is_sorted(std::begin(kMessages), std::end(kMessages),
                        [](const MessageText& a, const MessageText& b) { return a.id < b.id; });
}
static_assert(sortedById(), "kMessages must stay sorted: lookups use binary search");

}  // namespace

std::wstring_view messageTextFor(uint32_t messageId) {
  auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), messageId,
                             [](const MessageText& m, uint32_t id) { return m.id < id; });
  if (it == std::end(kMessages) || it->id != messageId) return {};
  return it->text;
}

}  // namespace lumxstd
