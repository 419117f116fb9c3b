#pragma once
// Checks a component declares for its properties. A check receives the property's name
// and the new value and throws lcCOMError (E_INVALIDARG with a message) to refuse it; a
// refused value leaves the property as it was and raises nothing.

#include <cmath>
#include <span>
#include <string>

#include "components/framework/com_error.h"
#include "platform/types.h"

inline constexpr uint32_t kMessageOutOfRange = 0x80048100;
inline constexpr uint32_t kMessageNotOneOf = 0x80048101;
inline constexpr uint32_t kMessageNotGreaterThan = 0x80048104;
inline constexpr uint32_t kMessageLessThan = 0x80048105;
inline constexpr uint32_t kMessageNotInEnumeration = 0x8004810A;
inline constexpr uint32_t kMessageCannotCreate = 0x80048109;  // "%1" the class that failed
inline constexpr uint32_t kMessageBounds = 0x8004810D;        // "%1" must run from %2 to %3
inline constexpr uint32_t kMessageIndexOutside = 0x8004810F;  // "%1" names what it indexes

struct lcNoCheck {
  template <class T>
  constexpr void operator()(const wchar_t*, const T&) const {}
};

// An enumeration value from `first` to `last`; else message 0x8004810A naming the property.
// `names` lists the members' names from `first` on: descriptions show them and a value
// may be given by its name.
template <class E>
struct lcEnumRange {
  E first, last;
  std::span<const wchar_t* const> names;
  void operator()(const wchar_t* name, E value) const {
    if (static_cast<LONG>(value) < static_cast<LONG>(first) ||
        static_cast<LONG>(value) > static_cast<LONG>(last))
      throwInvalidArgument(kMessageNotInEnumeration, lcMessageArgs(name));
  }
};
template <class E>
constexpr lcEnumRange<E> enumRange(E first, E last, std::span<const wchar_t* const> names) {
  return {first, last, names};
}

// A two-valued enumeration whose refusal names both valid members: message 0x80048101
// with the property's name and the two members' names.
template <class E>
struct lcNamedPair {
  E first, second;
  const wchar_t* firstName;
  const wchar_t* secondName;
  void operator()(const wchar_t* name, E value) const {
    if (value != first && value != second)
      throwInvalidArgument(kMessageNotOneOf, lcMessageArgs::texts({name, firstName, secondName}));
  }
};
template <class E>
constexpr lcNamedPair<E> namedPair(E first, const wchar_t* firstName, E second,
                                   const wchar_t* secondName) {
  return {first, second, firstName, secondName};
}

// Not less than `limit`: message 0x80048105 with the property's name and the refused
// value. NaN is refused too.
template <class T>
struct lcAtLeast {
  T limit;
  void operator()(const wchar_t* name, T value) const {
    if (value >= limit) return;
    const std::wstring refused = std::to_wstring(value);
    throwInvalidArgument(kMessageLessThan, lcMessageArgs::texts({name, refused.c_str()}));
  }
};
template <class T>
constexpr lcAtLeast<T> atLeast(T limit) {
  return {limit};
}

// Above `limit`: message 0x80048104 with the property's name and the limit's text. NaN
// is refused too.
template <class T>
struct lcGreaterThan {
  T limit;
  const wchar_t* limitText;
  void operator()(const wchar_t* name, T value) const {
    if (!(value > limit))
      throwInvalidArgument(kMessageNotGreaterThan, lcMessageArgs::texts({name, limitText}));
  }
};
template <class T>
constexpr lcGreaterThan<T> greaterThan(T limit, const wchar_t* limitText) {
  return {limit, limitText};
}

// Not below `limit`: message 0x80048105 with the property's name and the limit's text.
template <class T>
struct lcNotBelow {
  T limit;
  const wchar_t* limitText;
  void operator()(const wchar_t* name, T value) const {
    if (!(value >= limit))
      throwInvalidArgument(kMessageLessThan, lcMessageArgs::texts({name, limitText}));
  }
};
template <class T>
constexpr lcNotBelow<T> notBelow(T limit, const wchar_t* limitText) {
  return {limit, limitText};
}

// An enumeration of single bits from 1 to `last`; else message 0x8004810A naming the
// property. `names` (optional) lists the members' names from bit 0 on, for descriptions.
template <class E>
struct lcSingleBitOf {
  E last;
  std::span<const wchar_t* const> bitNames = {};
  void operator()(const wchar_t* name, E value) const {
    const auto bits = static_cast<uint32_t>(value);
    if (bits == 0 || (bits & (bits - 1)) != 0 || bits > static_cast<uint32_t>(last))
      throwInvalidArgument(kMessageNotInEnumeration, lcMessageArgs(name));
  }
};
template <class E>
constexpr lcSingleBitOf<E> singleBitOf(E last, std::span<const wchar_t* const> names) {
  return {last, names};
}

// An enumeration value from `first` to `last` whose refusal (message 0x8004810A) names
// `argument` rather than the property, for properties the messages know by another name.
// `names` as for lcEnumRange.
template <class E>
struct lcEnumRangeNamed {
  E first, last;
  const wchar_t* argument;
  std::span<const wchar_t* const> names;
  void operator()(const wchar_t*, E value) const {
    lcEnumRange<E>{first, last, names}(argument, value);
  }
};
template <class E>
constexpr lcEnumRangeNamed<E> enumRangeNamed(E first, E last, const wchar_t* argument,
                                             std::span<const wchar_t* const> names) {
  return {first, last, argument, names};
}

// A power of two from 2^-7 to 2^7 (a factor kept for a shift): message 0x8004810F naming
// the property.
struct lcPowerOfTwoFactor {
  void operator()(const wchar_t* name, double value) const {
    for (int shift = -7; shift <= 7; ++shift)
      if (value == std::ldexp(1.0, shift)) return;
    throwInvalidArgument(kMessageIndexOutside, lcMessageArgs(name));
  }
};
// From `low` to `high`: message 0x80048100 with the property's name and the two bounds
// as written (`lowText`, `highText`). NaN is refused too.
template <class T>
struct lcInRange {
  T low, high;
  const wchar_t* lowText;
  const wchar_t* highText;
  void operator()(const wchar_t* name, T value) const {
    if (value >= low && value <= high) return;
    throwInvalidArgument(kMessageOutOfRange, lcMessageArgs::texts({name, lowText, highText}));
  }
};
template <class T>
constexpr lcInRange<T> inRange(T low, T high, const wchar_t* lowText, const wchar_t* highText) {
  return {low, high, lowText, highText};
}

// A colour 0x00BBGGRR: message 0x80048100 with the property's name, 0 and 16777215.
constexpr lcInRange<LONG> colorRange() {
  return inRange<LONG>(0, 0xFFFFFF, L"0", L"16777215");
}
