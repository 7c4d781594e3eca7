// The effect record as a host compiled against the wire format reads it: a
// byte buffer with fields at fixed offsets, and entries called through
// function types declared here from the wire format alone, not from VstAbi.h.
// A layout or calling-convention mistake in our own declarations would pass
// every test that reads the record through those same declarations.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "tests/support/HostHarness.h"

namespace {

#if INTPTR_MAX == INT32_MAX
constexpr size_t kPointer = 4;
constexpr size_t kRecordSize = 144;
typedef int32_t WireValue;  // the dispatcher's value and result
#else
constexpr size_t kPointer = 8;
constexpr size_t kRecordSize = 192;
typedef int64_t WireValue;
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define WIRE_CALL __cdecl
#else
#define WIRE_CALL
#endif

extern "C" {
typedef WireValue(WIRE_CALL* WireDispatcher)(void* effect, int32_t opcode, int32_t index, WireValue value, void* ptr,
                                             float opt);
typedef void(WIRE_CALL* WireProcess)(void* effect, float** inputs, float** outputs, int32_t frames);
typedef void(WIRE_CALL* WireSetParameter)(void* effect, int32_t index, float value);
typedef float(WIRE_CALL* WireGetParameter)(void* effect, int32_t index);
}

enum class Kind { Int32, Float, Pointer, PointerSizedInt, Bytes };

struct Field {
  const char* name;
  size_t offset;
  size_t size;
  Kind kind;
};

// The wire format, field by field. On 32-bit every field is four bytes; on
// 64-bit pointers and the two reserved fields widen to eight, and the first
// of the future bytes became the double-precision entry.
#if INTPTR_MAX == INT32_MAX
const Field kFields[] = {
    {"magic", 0, 4, Kind::Int32},
    {"dispatcher", 4, 4, Kind::Pointer},
    {"process", 8, 4, Kind::Pointer},
    {"setParameter", 12, 4, Kind::Pointer},
    {"getParameter", 16, 4, Kind::Pointer},
    {"numPrograms", 20, 4, Kind::Int32},
    {"numParams", 24, 4, Kind::Int32},
    {"numInputs", 28, 4, Kind::Int32},
    {"numOutputs", 32, 4, Kind::Int32},
    {"flags", 36, 4, Kind::Int32},
    {"resvd1", 40, 4, Kind::PointerSizedInt},
    {"resvd2", 44, 4, Kind::PointerSizedInt},
    {"initialDelay", 48, 4, Kind::Int32},
    {"realQualities", 52, 4, Kind::Int32},
    {"offQualities", 56, 4, Kind::Int32},
    {"ioRatio", 60, 4, Kind::Float},
    {"object", 64, 4, Kind::Pointer},
    {"user", 68, 4, Kind::Pointer},
    {"uniqueID", 72, 4, Kind::Int32},
    {"version", 76, 4, Kind::Int32},
    {"processReplacing", 80, 4, Kind::Pointer},
    {"future", 84, 60, Kind::Bytes},
};
#else
const Field kFields[] = {
    {"magic", 0, 4, Kind::Int32},
    {"dispatcher", 8, 8, Kind::Pointer},
    {"process", 16, 8, Kind::Pointer},
    {"setParameter", 24, 8, Kind::Pointer},
    {"getParameter", 32, 8, Kind::Pointer},
    {"numPrograms", 40, 4, Kind::Int32},
    {"numParams", 44, 4, Kind::Int32},
    {"numInputs", 48, 4, Kind::Int32},
    {"numOutputs", 52, 4, Kind::Int32},
    {"flags", 56, 4, Kind::Int32},
    {"resvd1", 64, 8, Kind::PointerSizedInt},
    {"resvd2", 72, 8, Kind::PointerSizedInt},
    {"initialDelay", 80, 4, Kind::Int32},
    {"realQualities", 84, 4, Kind::Int32},
    {"offQualities", 88, 4, Kind::Int32},
    {"ioRatio", 92, 4, Kind::Float},
    {"object", 96, 8, Kind::Pointer},
    {"user", 104, 8, Kind::Pointer},
    {"uniqueID", 112, 4, Kind::Int32},
    {"version", 116, 4, Kind::Int32},
    {"processReplacing", 120, 8, Kind::Pointer},
    {"processDoubleReplacing", 128, 8, Kind::Pointer},
    {"future", 136, 56, Kind::Bytes},
};
#endif

const Field& FieldNamed(const std::string& name) {
  for (const Field& field : kFields) {
    if (name == field.name) return field;
  }
  ADD_FAILURE() << "no field " << name;
  return kFields[0];
}

// What a host reads at a field's offset, whatever our declarations say.
class WireView {
 public:
  explicit WireView(const void* record) : bytes_(static_cast<const unsigned char*>(record)) {}

  int32_t Int32(const char* name) const { return Read<int32_t>(name, 4); }
  float Float(const char* name) const { return Read<float>(name, 4); }
  WireValue PointerSizedInt(const char* name) const { return Read<WireValue>(name, kPointer); }
  const void* Pointer(const char* name) const { return Read<const void*>(name, kPointer); }
  template <typename Entry>
  Entry EntryAt(const char* name) const {
    return Read<Entry>(name, kPointer);
  }
  std::vector<unsigned char> Bytes(const char* name) const {
    const Field& field = FieldNamed(name);
    return std::vector<unsigned char>(bytes_ + field.offset, bytes_ + field.offset + field.size);
  }

 private:
  template <typename T>
  T Read(const char* name, size_t size) const {
    static_assert(std::is_trivially_copyable<T>::value, "read as bytes");
    const Field& field = FieldNamed(name);
    EXPECT_EQ(field.size, size) << name;
    EXPECT_EQ(sizeof(T), size) << name;
    T value;
    std::memcpy(&value, bytes_ + field.offset, sizeof value);
    return value;
  }
  const unsigned char* bytes_;
};

TEST(RecordWireLayout, FieldsTileTheRecordAndMatchOurDeclaration) {
  // In order, no field missing, each at the next offset its alignment allows
  // (on 64-bit four bytes of padding follow magic and flags), ending exactly
  // at the size.
  size_t next = 0;
  for (const Field& field : kFields) {
    const size_t alignment = field.kind == Kind::Bytes ? 1 : field.size;
    EXPECT_EQ(field.offset, (next + alignment - 1) / alignment * alignment) << field.name;
    next = field.offset + field.size;
  }
  EXPECT_EQ(next, kRecordSize);
  EXPECT_EQ(sizeof(AEffect), kRecordSize);
  EXPECT_EQ(sizeof(void*), kPointer);

  // Every offset of our declaration, evaluated by this build's compiler.
  const std::pair<const char*, size_t> declared[] = {
    {"magic", offsetof(AEffect, magic)},
    {"dispatcher", offsetof(AEffect, dispatcher)},
    {"process", offsetof(AEffect, process)},
    {"setParameter", offsetof(AEffect, setParameter)},
    {"getParameter", offsetof(AEffect, getParameter)},
    {"numPrograms", offsetof(AEffect, numPrograms)},
    {"numParams", offsetof(AEffect, numParams)},
    {"numInputs", offsetof(AEffect, numInputs)},
    {"numOutputs", offsetof(AEffect, numOutputs)},
    {"flags", offsetof(AEffect, flags)},
    {"resvd1", offsetof(AEffect, resvd1)},
    {"resvd2", offsetof(AEffect, resvd2)},
    {"initialDelay", offsetof(AEffect, initialDelay)},
    {"realQualities", offsetof(AEffect, realQualities)},
    {"offQualities", offsetof(AEffect, offQualities)},
    {"ioRatio", offsetof(AEffect, ioRatio)},
    {"object", offsetof(AEffect, object)},
    {"user", offsetof(AEffect, user)},
    {"uniqueID", offsetof(AEffect, uniqueID)},
    {"version", offsetof(AEffect, version)},
    {"processReplacing", offsetof(AEffect, processReplacing)},
#if INTPTR_MAX != INT32_MAX
    {"processDoubleReplacing", offsetof(AEffect, processDoubleReplacing)},
#endif
    {"future", offsetof(AEffect, future)},
  };
  EXPECT_EQ(std::size(declared), std::size(kFields));
  for (const auto& [name, offset] : declared) EXPECT_EQ(offset, FieldNamed(name).offset) << name;
  EXPECT_EQ(sizeof(AEffect::future), FieldNamed("future").size);
}

TEST(RecordWireLayout, PluginWritesEveryFieldWhereTheHostReadsIt) {
  harness::Instance fx;
  const WireView wire(fx.record());
  EXPECT_EQ(wire.Int32("magic"), 0x56737450);  // "VstP"
  for (const char* entry : {"dispatcher", "process", "setParameter", "getParameter", "processReplacing"}) {
    EXPECT_NE(wire.Pointer(entry), nullptr) << entry;
  }
  EXPECT_EQ(wire.Int32("numPrograms"), 1);
  EXPECT_EQ(wire.Int32("numParams"), 9);
  EXPECT_EQ(wire.Int32("numInputs"), 1);
  EXPECT_EQ(wire.Int32("numOutputs"), 2);
  EXPECT_EQ(wire.Int32("flags"), 17);  // effFlagsHasEditor | effFlagsCanReplacing
  EXPECT_EQ(wire.PointerSizedInt("resvd1"), 0);
  EXPECT_EQ(wire.PointerSizedInt("resvd2"), 0);
  EXPECT_EQ(wire.Int32("initialDelay"), 0);
  EXPECT_EQ(wire.Int32("realQualities"), 0);
  EXPECT_EQ(wire.Int32("offQualities"), 0);
  EXPECT_EQ(wire.Float("ioRatio"), 1.0f);
  EXPECT_NE(wire.Pointer("object"), nullptr);
  EXPECT_EQ(wire.Pointer("user"), nullptr);
  EXPECT_EQ(wire.Int32("uniqueID"), 0x4F64726C);  // "Odrl"
  EXPECT_EQ(wire.Int32("version"), 1);
#if INTPTR_MAX != INT32_MAX
  EXPECT_EQ(wire.Pointer("processDoubleReplacing"), nullptr);
#endif
  for (unsigned char byte : wire.Bytes("future")) ASSERT_EQ(byte, 0);
}

TEST(RecordWireLayout, EntriesAtTheirOffsetsTakeAndReturnWireValues) {
  harness::Instance fx;
  void* record = fx.record();
  const WireView wire(record);
  const auto dispatcher = wire.EntryAt<WireDispatcher>("dispatcher");
  const auto setParameter = wire.EntryAt<WireSetParameter>("setParameter");
  const auto getParameter = wire.EntryAt<WireGetParameter>("getParameter");
  const auto processReplacing = wire.EntryAt<WireProcess>("processReplacing");
  const auto process = wire.EntryAt<WireProcess>("process");

  // Integer and pointer arguments in their places, a pointer-sized result.
  char name[64] = {};
  dispatcher(record, 8 /* effGetParamName */, 4, 0, name, 0.0f);
  EXPECT_STREQ(name, "Rate       ");
  EXPECT_EQ(dispatcher(record, 3 /* effGetProgram */, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(dispatcher(record, 22 /* effIdentify */, 0, 0, nullptr, 0.0f), 0x4E764566);  // "NvEf"

  // A float argument in, a float result back (on 32-bit x86 on the x87 stack).
  setParameter(record, 5, 0.375f);
  EXPECT_EQ(getParameter(record, 5), 0.375f);
  EXPECT_EQ(getParameter(record, 8), 1.0f);

  // The float argument of the dispatcher: a sample rate a host announces.
  // With the chorus bypassed (bass off, mix 0), replacing gives the input
  // and accumulating adds it, on both outputs.
  dispatcher(record, 10 /* effSetSampleRate */, 0, 0, nullptr, 48000.0f);
  setParameter(record, 0, 0.0f);
  setParameter(record, 8, 0.0f);
  std::vector<float> input(96), left(96, 7.0f), right(96, 7.0f);
  for (size_t n = 0; n < input.size(); ++n) input[n] = 0.25f * std::sin(0.1f * static_cast<float>(n));
  float* inputs[] = {input.data()};
  float* outputs[] = {left.data(), right.data()};
  processReplacing(record, inputs, outputs, 96);
  for (size_t n = 0; n < input.size(); ++n) {
    ASSERT_NEAR(left[n], input[n], 1e-7f) << n;
    ASSERT_NEAR(right[n], input[n], 1e-7f) << n;
  }
  process(record, inputs, outputs, 96);
  for (size_t n = 0; n < input.size(); ++n) {
    ASSERT_NEAR(left[n], 2.0f * input[n], 1e-7f) << n;
    ASSERT_NEAR(right[n], 2.0f * input[n], 1e-7f) << n;
  }
}

}  // namespace
