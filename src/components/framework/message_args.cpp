#include "components/framework/message_args.h"

#include <charconv>

const wchar_t* lcMessageArgs::arg(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  const Slot& slot = slots_[index];
  return slot.text ? slot.text : slot.number;
}

void lcMessageArgs::add(const wchar_t* text) {
  if (count_ == kMaxArgs) return;
  slots_[count_++].text = text ? text : L"";
}

void lcMessageArgs::add(int64_t number) {
  if (count_ == kMaxArgs) return;
  Slot& slot = slots_[count_++];
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  wchar_t* out = slot.number;
  for (const char* c = digits; c != end; ++c)
    *out++ = static_cast<wchar_t>(*c);
  *out = L'\0';
}
