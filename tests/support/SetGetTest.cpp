// Reading SAFEARRAY elements in place; misuse is reported without reading memory as what it is not.
#include <gtest/gtest.h>
#include <climits>
#include <deque>
#include "framework/ListArray.h"
#include "SupportFixtures.h"
#include "support/SetGet.h"

// The reports are traced to TxCOGUI.trc, as in the product.
class SetGetTest : public SupportTest {
 protected:
  // A one-dimensional array of 'type' with 'count' elements from 'lower'.
  SAFEARRAY* vector(VARTYPE type, ULONG count, LONG lower) {
    SAFEARRAYBOUND bound = {count, lower};
    return arrays_.emplace_back(SafeArrayCreate(type, 1, &bound)).get();
  }
  std::deque<fw::UniqueSafeArray> arrays_;
};

TEST_F(SetGetTest, WalkAndEachKnownTypeReadInPlaceWithItsOwnSize) {
  BoxCapture boxes;
  // The walk from the lower bound to the end of the list, at both ends of the index range.
  const struct { LONG lower; ULONG count; long long end; } walks[] = {
      {1, 3, 4}, {0, 0, 0}, {LONG_MIN, 0, LONG_MIN}, {LONG_MIN, 3, LONG_MIN + 3LL}, {LONG_MAX - 2, 3, LONG_MAX + 1LL}};
  for (const auto& walk : walks) {
    SAFEARRAY* longs = vector(VT_I4, walk.count, walk.lower);
    for (ULONG i = 0; i < walk.count; ++i) static_cast<LONG*>(longs->pvData)[i] = LONG(i + 1) * 10;
    std::vector<LONG> seen;
    LONG value = 77;
    long long index = walk.lower;
    for (; index <= LONG_MAX && SetGet::nextItem(VT_ARRAY | VT_I4, longs, LONG(index), &value); ++index)
      seen.push_back(value);
    EXPECT_EQ(walk.end, index) << "the walk stops after index count, from " << walk.lower;
    ASSERT_EQ(walk.count, seen.size());
    for (ULONG i = 0; i < walk.count; ++i) EXPECT_EQ(LONG(i + 1) * 10, seen[i]);
    EXPECT_EQ(walk.count ? LONG(walk.count) * 10 : 77, value) << "an empty list leaves the area alone";
  }
  // Element 1 is copied byte for byte (a string or a VARIANT's string is the array's own); the bytes behind stay.
  for (VARTYPE type : {VT_I4, VT_R8, VT_BOOL, VT_BSTR, VT_VARIANT}) {
    SAFEARRAY* array = vector(type, 2, 0);
    auto data = static_cast<unsigned char*>(array->pvData);
    size_t size = array->cbElements;
    for (size_t i = 0; i < 2 * size; ++i) data[i] = static_cast<unsigned char>(i + 1);
    unsigned char area[sizeof(VARIANT) + 8];
    memset(area, 0x5A, sizeof area);
    long index = 1;
    EXPECT_TRUE(SetGet::noCopyVariantGetV(type == VT_BSTR ? VT_ARRAY | VT_BSTR : type, array, index, area)) << type;
    EXPECT_EQ(0, memcmp(area, data + size, size)) << type;
    for (size_t i = size; i < sizeof area; ++i) EXPECT_EQ(0x5A, area[i]) << type << " byte " << i;
    memset(data, 0, 2 * size);  // nothing for the array to free
  }
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(SetGetTest, MisuseIsReportedOnceAndNothingIsRead) {
  const char kBadType[] = " ERROR: bad VT in noCopyItemGet";
  const char kMismatch[] = "noCopyVariantGetV:  ERROR: element type does not match the array";
  const char kOutside[] = "noCopyVariantGetV:  ERROR: index out of bounds";
  SAFEARRAY *shorts = vector(VT_I2, 2, 0), *strings = vector(VT_BSTR, 2, 0), *longs = vector(VT_I4, 2, 5);
  SAFEARRAY* doubles = vector(VT_R8, 2, 0);
  static_cast<double*>(doubles->pvData)[0] = 1.0;  // as a pointer, this would crash
  // An array without recorded type, of 8-byte elements: checked by element size.
  SAFEARRAY* raw = nullptr;
  ASSERT_EQ(S_OK, SafeArrayAllocDescriptor(1, &raw));
  arrays_.emplace_back(raw);
  raw->cbElements = sizeof(double), raw->rgsabound[0] = {2, 0};
  ASSERT_EQ(S_OK, SafeArrayAllocData(raw));
  VARTYPE recorded = VT_EMPTY;
  ASSERT_TRUE(FAILED(SafeArrayGetVartype(raw, &recorded)));
  static_cast<double*>(raw->pvData)[1] = 6.5;
  long index = 1;
  double d = 0;
  EXPECT_TRUE(SetGet::noCopyVariantGetV(VT_R8, raw, index, &d)); EXPECT_EQ(6.5, d);
  const struct { SAFEARRAY* array; VARTYPE type; long index; bool walk; const char* report; } rows[] = {
      {shorts, VT_I2, 0, false, kBadType},
      {shorts, VT_I2, 0, true, kBadType},  // the walk ends instead of reporting every element
      {strings, VT_I2, 0, false, kBadType},  // named as unknown even where the array holds another type
      {doubles, VT_BSTR, 0, false, kMismatch},
      {strings, VT_VARIANT, 0, true, kMismatch},  // would read 24 bytes of each 8
      {raw, VT_VARIANT, 1, false, kMismatch}, {raw, VT_I4, 1, false, kMismatch},
      {longs, VT_I4, 4, false, kOutside}, {longs, VT_I4, 7, false, kOutside}, {longs, VT_I4, -100000, false, kOutside},
      {longs, VT_I4, 0x7FFFFFFF, false, kOutside}, {nullptr, VT_I4, 0, true, nullptr},
      {vector(VT_I4, 0, LONG_MIN), VT_I4, LONG_MIN, false, kOutside},  // an empty list at the lowest index
      {vector(VT_I4, 2, LONG_MAX - 1), VT_I4, LONG_MIN, false, kOutside},  // far below a list at the highest
      {nullptr, VT_I4, 0, false, "noCopyVariantGetV:  ERROR: no array given"},
      {vector(VT_I4, 2, LONG_MAX - 2), VT_I4, LONG_MAX, true, nullptr}};  // the walk ends where the list does
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.type << " at " << row.index << (row.walk ? " walking" : ""));
    TraceWatch trace;
    BoxCapture boxes;
    unsigned char area[sizeof(VARIANT)];
    memset(area, 0xCD, sizeof area);
    index = row.index;
    EXPECT_FALSE(row.walk ? SetGet::nextItem(row.type, row.array, index, area)
                          : SetGet::noCopyVariantGetV(row.type, row.array, index, area));
    for (unsigned char byte : area) ASSERT_EQ(0xCD, byte);
    EXPECT_EQ(row.report ? Texts{row.report} : Texts{}, boxes.texts());
    EXPECT_TRUE(!row.report || trace.added().find(row.report) != std::string::npos);
  }
}

TEST_F(SetGetTest, TwoDimensionalArrayIsReportedAndReadByItsFirstBound) {
  const char kReport[] = "noCopyVariantGetV:  ERROR: Only 1 dimension arrays are supported";
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 0}};
  fw::UniqueSafeArray array(SafeArrayCreate(VT_I4, 2, bounds));
  ASSERT_NE(nullptr, array.get());
  static_cast<LONG*>(array.get()->pvData)[1] = 42;
  TraceWatch trace;
  BoxCapture boxes;
  long index = 1;
  LONG value = 0;
  SetGet::noCopyVariantGetV(VT_I4, array.get(), index, &value);
  EXPECT_EQ(42, value) << "the reader goes on with the first bound record";
  EXPECT_EQ(Texts{kReport}, boxes.texts()); EXPECT_NE(std::string::npos, trace.added().find(kReport));
}

// The shape that the list readers start from: bounds counted in 64 bits, the type from the array.
TEST_F(SetGetTest, ListShapeAtBothEndsOfTheIndexRange) {
  SAFEARRAYBOUND emptySecond[2] = {{3, 0}, {0, 0}};
  SAFEARRAY* flat = arrays_.emplace_back(SafeArrayCreate(VT_I4, 2, emptySecond)).get();
  SAFEARRAY* untyped = nullptr;  // says by its features alone that it holds VARIANTs
  ASSERT_EQ(S_OK, SafeArrayAllocDescriptor(1, &untyped));
  arrays_.emplace_back(untyped);
  untyped->fFeatures = FADF_VARIANT, untyped->cbElements = sizeof(VARIANT), untyped->rgsabound[0] = {1, 4};
  const struct { SAFEARRAY* array; LONG lower; unsigned long long count, indices; LONG last; VARTYPE type; } rows[] = {
      {nullptr, 0, 0, 0, 0, VT_EMPTY},
      {vector(VT_BSTR, 0, LONG_MIN), LONG_MIN, 0, 0, 0, VT_BSTR},
      {vector(VT_I4, 3, LONG_MIN), LONG_MIN, 3, 3, LONG_MIN + 2, VT_I4},
      {vector(VT_R8, 3, LONG_MAX - 2), LONG_MAX - 2, 3, 3, LONG_MAX, VT_R8},
      {vector(VT_BOOL, 5, LONG_MAX - 1), LONG_MAX - 1, 5, 2, LONG_MAX, VT_BOOL},  // two have a LONG index
      {flat, 0, 0, 0, 0, VT_I4}, {untyped, 4, 1, 1, 4, VT_VARIANT}};
  for (const auto& row : rows) {
    fw::ListShape shape;
    EXPECT_EQ(row.array != nullptr, fw::readListShape(row.array, &shape)) << row.lower;
    EXPECT_EQ(std::make_tuple(row.lower, row.count, row.indices, row.type),
              std::make_tuple(shape.lower, shape.count, shape.indices(), shape.type));
    if (row.indices) {
      EXPECT_EQ(std::make_pair(row.lower, row.last), std::make_pair(shape.index(0), shape.index(row.indices - 1)));
    }
  }
}
