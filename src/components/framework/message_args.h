#pragma once
// Up to four arguments for a message text ("%1" to "%4"). A text argument is borrowed:
// the caller keeps it alive while the arguments are in use. An integer argument is
// written in decimal into the slot's own buffer.

#include <cstdint>
#include <initializer_list>

#include "components/framework/export.h"

class LUM_VISIBLE lcMessageArgs {
 public:
  static constexpr int kMaxArgs = 4;

  lcMessageArgs() = default;
  explicit lcMessageArgs(const wchar_t* text1) { add(text1); }
  lcMessageArgs(const wchar_t* text1, int64_t number2) {
    add(text1);
    add(number2);
  }
  lcMessageArgs(const wchar_t* text1, int64_t number2, int64_t number3) {
    add(text1);
    add(number2);
    add(number3);
  }
  // Text arguments only (a named function: a literal 0 would make constructors ambiguous).
  static lcMessageArgs texts(std::initializer_list<const wchar_t*> texts) {
    lcMessageArgs args;
    for (const wchar_t* text : texts)
      args.add(text);
    return args;
  }

  int count() const { return count_; }
  // The argument at 0-based `index`; null past the count.
  const wchar_t* arg(int index) const;

  // Appends an argument; ignored when all four slots are taken.
  void add(const wchar_t* text);
  void add(int64_t number);

 private:
  struct Slot {
    const wchar_t* text = nullptr;  // borrowed; null when the slot holds a number
    wchar_t number[26] = {};
  };
  Slot slots_[kMaxArgs];
  int count_ = 0;
};
