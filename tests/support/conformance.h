#pragma once
// One typed test for every component's member table: the declared defaults are what the
// getters give and pass their own checks; every writable value property round-trips
// through dispatch by name and raises its state once, an unchanged value raises nothing;
// the values a check refuses fail with E_INVALIDARG and the check's message, change
// nothing and raise nothing; clone and a stream round trip keep every property.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Arith, ComponentConformance,
//                                  ::testing::Types<CLumIPOneImageAddSubtractConstant>);
//
// A per-component test then checks only what is that component's own.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "components/framework/component.h"
#include "support/error_info_probe.h"
#include "support/event_recorder.h"

namespace lumtest::conformance {

template <class T>
ComPtr<T> make() {
  ComPtr<T> object;
  EXPECT_EQ(T::createInstance(nullptr, iid_of<IUnknown>, object.putVoid()), S_OK);
  return object;
}

// Values of a field type a check may accept or refuse, for the changed-value and refusal
// probes. A check without refusals gives none.
template <class M>
using FieldOf = typename M::Field;

template <class Field>
std::vector<Field> candidateValues(Field current) {
  if constexpr (std::is_same_v<Field, lcBool>) {
    return {lcBool{!current.value}};
  } else if constexpr (std::is_enum_v<Field>) {
    std::vector<Field> values;
    for (LONG v = -1; v <= 16; ++v)
      if (v != static_cast<LONG>(current)) values.push_back(static_cast<Field>(v));
    return values;
  } else if constexpr (std::is_arithmetic_v<Field>) {
    return {static_cast<Field>(current + 1), static_cast<Field>(current + 2),
            static_cast<Field>(current - 1)};
  } else if constexpr (std::is_same_v<Field, lum::Bstr>) {
    return {lum::Bstr(L"conformance value")};
  } else {
    return {};
  }
}

// The component's IDispatch (several of its interfaces derive from IDispatch).
template <class T>
IDispatch* dispatchOf(T& object) {
  return static_cast<typename T::PrimaryInterface*>(&object);
}

template <class M>
bool accepts(const M& member, const FieldOf<M>& value) {
  try {
    member.check(member.name, value);
    return true;
  } catch (const lcCOMError&) {
    return false;
  }
}

// The message a check gives for a refused value (its help context is the message ID).
template <class M>
std::optional<DWORD> refusalMessage(const M& member, const FieldOf<M>& value) {
  try {
    member.check(member.name, value);
    return std::nullopt;
  } catch (const lcCOMError& error) {
    return error.helpContext;
  }
}

template <class T, class F>
void forEachValueProperty(F&& f) {
  lum::forEachMember(T::allMembers(), [&](const auto& member) {
    using M = std::decay_t<decltype(member)>;
    if constexpr (lum::isProperty<M>) {
      if constexpr (!std::is_same_v<FieldOf<M>, lum::Variant>) f(member);
    }
  });
}

template <class T, class F>
void forEachWritableProperty(F&& f) {
  forEachValueProperty<T>([&](const auto& member) {
    if (member.access & lcAccessPut) f(member);
  });
}

template <class T>
ComPtr<EventRecorder> listenTo(T& object) {
  auto recorder = lum::makeComObject<EventRecorder>(object.core().eventIid());
  adviseSink(object.core().self(), recorder.get(), object.core().eventIid());
  return recorder;
}

inline lum::Variant invokeGet(IDispatch* object, const wchar_t* name) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << lum::toUtf8(name);
  DISPPARAMS none{};
  lum::Variant result;
  EXPECT_EQ(
      object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.put(), nullptr, nullptr),
      S_OK)
      << lum::toUtf8(name);
  return result;
}

inline HRESULT invokePut(IDispatch* object, const wchar_t* name, const lum::Variant& value) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << lum::toUtf8(name);
  VARIANT arg = value.get();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&arg, &named, 1, 1};
  return object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

// Calls method `name` by dispatch with `args` in their written order.
inline HRESULT invokeMethod(IDispatch* object, const wchar_t* name, std::vector<lum::Variant> args,
                            lum::Variant* result = nullptr) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << lum::toUtf8(name);
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it)
    reversed.push_back(it->get());
  DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
  lum::Variant ignored;
  return object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params,
                        (result ? result : &ignored)->put(), nullptr, nullptr);
}

// Every value property's state, read through dispatch, by name.
template <class T>
std::vector<std::pair<std::wstring, lum::Variant>> readAll(T& object) {
  std::vector<std::pair<std::wstring, lum::Variant>> values;
  forEachValueProperty<T>([&](const auto& member) {
    lum::Variant value;
    EXPECT_EQ(object.template getPropertyAsVariant<std::decay_t<decltype(member)>::field>(value),
              S_OK);
    values.emplace_back(member.name, std::move(value));
  });
  return values;
}

// Sets every writable value property to an accepted value other than its default.
template <class T>
void changeAll(T& object) {
  forEachValueProperty<T>([&](const auto& member) {
    using M = std::decay_t<decltype(member)>;
    for (const auto& value : candidateValues(M::Traits::fromLiteral(member.defaultValue))) {
      if (!accepts(member, value)) continue;
      lcLockGuard guard(object.core().lock());
      object.*M::field = value;
      return;
    }
  });
}

inline void expectSameValues(const std::vector<std::pair<std::wstring, lum::Variant>>& a,
                             const std::vector<std::pair<std::wstring, lum::Variant>>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    const VARTYPE type = a[i].second.type();
    EXPECT_EQ(type, b[i].second.type()) << lum::toUtf8(a[i].first);
    if (type == VT_UNKNOWN || type == VT_DISPATCH) continue;  // copies are other objects
    EXPECT_EQ(VarCmp(a[i].second.ptr(), b[i].second.ptr(), 0, 0), VARCMP_EQ)
        << lum::toUtf8(a[i].first);
  }
}

}  // namespace lumtest::conformance

template <class T>
class ComponentConformance : public ::testing::Test {};
TYPED_TEST_SUITE_P(ComponentConformance);

TYPED_TEST_P(ComponentConformance, DefaultsAreWhatGettersGiveAndPassTheirChecks) {
  using namespace lumtest::conformance;
  auto object = make<TypeParam>();
  forEachValueProperty<TypeParam>([&](const auto& member) {
    using M = std::decay_t<decltype(member)>;
    const auto declared = M::Traits::fromLiteral(member.defaultValue);
    EXPECT_TRUE(accepts(member, declared)) << lum::toUtf8(member.name);
    lum::Variant got;
    ASSERT_EQ(object->template getPropertyAsVariant<M::field>(got), S_OK);
    if constexpr (!std::is_same_v<typename M::Literal, std::nullptr_t>) {
      lum::Variant expected = M::Traits::toVariant(declared);
      EXPECT_EQ(VarCmp(got.ptr(), expected.ptr(), 0, 0), VARCMP_EQ) << lum::toUtf8(member.name);
    }
  });
}

TYPED_TEST_P(ComponentConformance, WritablePropertiesRoundTripThroughDispatchAndRaiseOnce) {
  using namespace lumtest::conformance;
  auto object = make<TypeParam>();
  auto recorder = listenTo(*object);
  forEachWritableProperty<TypeParam>([&](const auto& member) {
    using M = std::decay_t<decltype(member)>;
    for (const auto& value : candidateValues(M::Traits::fromLiteral(member.defaultValue))) {
      if (!accepts(member, value)) continue;
      const lum::Variant asVariant = M::Traits::toVariant(value);
      recorder->clear();
      ASSERT_EQ(invokePut(dispatchOf(*object), member.name, asVariant), S_OK)
          << lum::toUtf8(member.name);
      lum::Variant back = invokeGet(dispatchOf(*object), member.name);
      EXPECT_EQ(VarCmp(back.ptr(), asVariant.ptr(), 0, 0), VARCMP_EQ) << lum::toUtf8(member.name);
      ASSERT_EQ(recorder->events().size(), 1u) << lum::toUtf8(member.name);
      EXPECT_EQ(recorder->events()[0].stateId(), member.dispid);
      EXPECT_EQ(recorder->events()[0].flags() & lumChangeSetByClient, lumChangeSetByClient);
      if (member.compares) {
        recorder->clear();
        EXPECT_EQ(invokePut(dispatchOf(*object), member.name, asVariant), S_OK);
        EXPECT_TRUE(recorder->events().empty()) << lum::toUtf8(member.name) << " unchanged";
      }
      return;
    }
  });
}

TYPED_TEST_P(ComponentConformance, RefusedValuesFailWithTheirMessageAndChangeNothing) {
  using namespace lumtest::conformance;
  auto object = make<TypeParam>();
  auto recorder = listenTo(*object);
  forEachWritableProperty<TypeParam>([&](const auto& member) {
    using M = std::decay_t<decltype(member)>;
    const auto before = readAll(*object);
    for (const auto& value : candidateValues(M::Traits::fromLiteral(member.defaultValue))) {
      const auto message = refusalMessage(member, value);
      if (!message) continue;
      recorder->clear();
      EXPECT_EQ(object->template putPropertyFromVariant<M::field>(
                    *M::Traits::toVariant(value).ptr(), nullptr),
                E_INVALIDARG)
          << lum::toUtf8(member.name);
      EXPECT_EQ(lumtest::takeErrorInfo().helpContext, *message) << lum::toUtf8(member.name);
      EXPECT_TRUE(recorder->events().empty());
    }
    expectSameValues(before, readAll(*object));
  });
}

TYPED_TEST_P(ComponentConformance, CloneAndStreamRoundTripKeepEveryProperty) {
  using namespace lumtest::conformance;
  auto object = make<TypeParam>();
  changeAll(*object);
  const auto original = readAll(*object);

  ComPtr<ILumObject> clone;
  ASSERT_EQ(object->Clone(clone.put()), S_OK);
  auto* cloned = static_cast<TypeParam*>(clone.as<typename TypeParam::PrimaryInterface>().get());
  expectSameValues(original, readAll(*cloned));

  ComPtr<IStream> stream;
  ASSERT_EQ(lum::createMemoryStream(stream.put()), S_OK);
  ASSERT_EQ(object->Save(stream.get(), TRUE), S_OK);
  stream->Seek({}, STREAM_SEEK_SET, nullptr);
  auto loaded = make<TypeParam>();
  ASSERT_EQ(loaded->Load(stream.get()), S_OK);
  expectSameValues(original, readAll(*loaded));
}

REGISTER_TYPED_TEST_SUITE_P(ComponentConformance, DefaultsAreWhatGettersGiveAndPassTheirChecks,
                            WritablePropertiesRoundTripThroughDispatchAndRaiseOnce,
                            RefusedValuesFailWithTheirMessageAndChangeNothing,
                            CloneAndStreamRoundTripKeepEveryProperty);
