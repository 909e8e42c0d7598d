// Reading SAFEARRAY elements in place: the walk over an array, each known element type,
// and misuse that must be reported without reading memory as something it is not.
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "SupportFixtures.h"
#include "support/MTUtils.h"
#include "support/SetGet.h"

namespace {

// The reports are traced to TxCOGUI.trc, as in the product.
class SetGetTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    MTUtils::setModuleName("TxCOGUI");
  }
};

// A one-dimensional array of 'type' with 'count' elements from 'lower'.
SAFEARRAY* vector(VARTYPE type, ULONG count, LONG lower) {
  SAFEARRAYBOUND bound = {count, lower};
  return SafeArrayCreate(type, 1, &bound);
}

TEST_F(SetGetTest, WalkOverEmptyArrayYieldsNothing) {
  fw::UniqueSafeArray array(vector(VT_I4, 0, 0));
  ASSERT_NE(nullptr, array.get());
  BoxCapture boxes;
  LONG value = 77;
  EXPECT_FALSE(SetGet::nextItem(VT_I4, array.get(), 0, &value));
  EXPECT_EQ(77, value);
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(SetGetTest, WalkFromLowerBoundOneYieldsElementsInOrder) {
  fw::UniqueSafeArray array(vector(VT_I4, 3, 1));
  ASSERT_NE(nullptr, array.get());
  for (LONG i = 1; i <= 3; ++i) {
    LONG value = i * 10;
    ASSERT_EQ(S_OK, SafeArrayPutElement(array.get(), &i, &value));
  }
  BoxCapture boxes;
  std::vector<LONG> seen;
  long index = 1;
  LONG value = 0;
  ASSERT_TRUE(SetGet::noCopyVariantGetV(VT_I4, array.get(), index, &value));
  EXPECT_EQ(10, value);
  while (SetGet::nextItem(VT_ARRAY | VT_I4, array.get(), index, &value)) {
    seen.push_back(value);
    ++index;
  }
  EXPECT_EQ((std::vector<LONG>{10, 20, 30}), seen);
  EXPECT_EQ(4, index) << "the walk stops after index count";
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(SetGetTest, EachKnownTypeIsReadWithItsOwnSize) {
  BoxCapture boxes;
  long index = 1;

  fw::UniqueSafeArray doubles(vector(VT_R8, 2, 0));
  double d = 2.5;
  ASSERT_EQ(S_OK, SafeArrayPutElement(doubles.get(), &index, &d));
  double readDouble = 0;
  EXPECT_TRUE(SetGet::noCopyVariantGetV(VT_R8, doubles.get(), index, &readDouble));
  EXPECT_EQ(2.5, readDouble);

  // A VARIANT_BOOL is two bytes: the bytes behind it stay as they were.
  fw::UniqueSafeArray flags(vector(VT_BOOL, 2, 0));
  VARIANT_BOOL yes = VARIANT_TRUE;
  ASSERT_EQ(S_OK, SafeArrayPutElement(flags.get(), &index, &yes));
  unsigned char area[8];
  memset(area, 0x5A, sizeof area);
  EXPECT_TRUE(SetGet::noCopyVariantGetV(VT_BOOL, flags.get(), index, area));
  VARIANT_BOOL readFlag = 0;
  memcpy(&readFlag, area, sizeof readFlag);
  EXPECT_EQ(VARIANT_TRUE, readFlag);
  for (size_t i = sizeof(VARIANT_BOOL); i < sizeof area; ++i) EXPECT_EQ(0x5A, area[i]) << i;

  // A VARIANT is copied byte for byte: its string is the array's own.
  fw::UniqueSafeArray variants(vector(VT_VARIANT, 2, 0));
  VARIANT element;
  VariantInit(&element);
  element.vt = VT_BSTR;
  element.bstrVal = SysAllocString(L"phase");
  ASSERT_EQ(S_OK, SafeArrayPutElement(variants.get(), &index, &element));
  VariantClear(&element);
  VARIANT read;
  memset(&read, 0, sizeof read);
  EXPECT_TRUE(SetGet::noCopyVariantGetV(VT_VARIANT, variants.get(), index, &read));
  const VARIANT* stored = static_cast<const VARIANT*>(variants.get()->pvData) + 1;
  EXPECT_EQ(VT_BSTR, read.vt);
  EXPECT_EQ(stored->bstrVal, read.bstrVal);
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(SetGetTest, BstrIsReadInPlace) {
  fw::UniqueSafeArray array(vector(VT_BSTR, 2, 0));
  for (long i = 0; i < 2; ++i) {
    BSTR text = SysAllocString(i == 0 ? L"WATER" : L"METHANE");
    ASSERT_EQ(S_OK, SafeArrayPutElement(array.get(), &i, text));
    SysFreeString(text);
  }
  BoxCapture boxes;
  long index = 1;
  BSTR read = nullptr;
  ASSERT_TRUE(SetGet::noCopyVariantGetV(VT_ARRAY | VT_BSTR, array.get(), index, &read));
  EXPECT_EQ(static_cast<BSTR*>(array.get()->pvData)[1], read) << "no new string";
  EXPECT_EQ("METHANE", tx::bstrText(read));
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(SetGetTest, TwoDimensionalArrayIsReportedAndReadByItsFirstBound) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 0}};
  fw::UniqueSafeArray array(SafeArrayCreate(VT_I4, 2, bounds));
  ASSERT_NE(nullptr, array.get());
  static_cast<LONG*>(array.get()->pvData)[1] = 42;
  TraceWatch trace;
  BoxCapture boxes;
  long index = 1;
  LONG value = 0;
  SetGet::noCopyVariantGetV(VT_I4, array.get(), index, &value);
  ASSERT_GE(boxes.count(), 1u);
  EXPECT_EQ(0u, boxes.boxes()[0].text.find("noCopyVariantGetV: ")) << boxes.boxes()[0].text;
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("Only 1 dimension arrays are supported"));
  EXPECT_NE(std::string::npos, trace.added().find("noCopyVariantGetV:  ERROR: Only 1 dimension arrays are supported"));
  EXPECT_EQ(1u, boxes.count());
  EXPECT_EQ(42, value) << "the reader goes on with the first bound record";
}

TEST_F(SetGetTest, UnknownElementTypeIsReportedAndNothingIsCopied) {
  fw::UniqueSafeArray array(vector(VT_I2, 2, 0));
  TraceWatch trace;
  BoxCapture boxes;
  long index = 0;
  unsigned char area[32];
  memset(area, 0xCD, sizeof area);
  EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_I2, array.get(), index, area));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find(" ERROR: bad VT in noCopyItemGet"));
  EXPECT_NE(std::string::npos, trace.added().find("bad VT in noCopyItemGet"));
  for (unsigned char byte : area) ASSERT_EQ(0xCD, byte);

  // The walk ends instead of reporting every element.
  boxes.clear();
  EXPECT_FALSE(SetGet::nextItem(VT_I2, array.get(), 0, area));
  EXPECT_EQ(1u, boxes.count());

  // An unknown type is named as such even when the array holds another one.
  fw::UniqueSafeArray strings(vector(VT_BSTR, 2, 0));
  boxes.clear();
  EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_I2, strings.get(), index, area));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find(" ERROR: bad VT in noCopyItemGet")) << boxes.boxes()[0].text;
  for (unsigned char byte : area) ASSERT_EQ(0xCD, byte);
}

TEST_F(SetGetTest, TypeOtherThanTheArraysIsReportedAndNotRead) {
  fw::UniqueSafeArray array(vector(VT_R8, 2, 0));
  static_cast<double*>(array.get()->pvData)[0] = 1.0;  // as a pointer, this would crash
  BoxCapture boxes;
  long index = 0;
  BSTR read = reinterpret_cast<BSTR>(0x1234);
  EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_BSTR, array.get(), index, &read));
  EXPECT_EQ(reinterpret_cast<BSTR>(0x1234), read);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(0u, boxes.boxes()[0].text.find("noCopyVariantGetV: ")) << boxes.boxes()[0].text;

  // A VARIANT asked of a BSTR array would read 24 bytes of each 8.
  fw::UniqueSafeArray strings(vector(VT_BSTR, 1, 0));
  VARIANT v;
  memset(&v, 0xEE, sizeof v);
  boxes.clear();
  EXPECT_FALSE(SetGet::nextItem(VT_VARIANT, strings.get(), 0, &v));
  EXPECT_EQ(1u, boxes.count());
  EXPECT_EQ(0xEEEE, v.vt);
}

TEST_F(SetGetTest, IndexOutsideTheBoundsIsReportedAndNotRead) {
  fw::UniqueSafeArray array(vector(VT_I4, 2, 5));
  BoxCapture boxes;
  for (long outside : {4L, 7L, -100000L, 0x7FFFFFFFL}) {
    LONG value = -9;
    long index = outside;
    EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_I4, array.get(), index, &value)) << outside;
    EXPECT_EQ(-9, value);
  }
  EXPECT_EQ(4u, boxes.count());
  EXPECT_TRUE(boxes.anyContains("noCopyVariantGetV"));

  boxes.clear();
  LONG value = -9;
  long index = 0;
  EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_I4, nullptr, index, &value));
  EXPECT_FALSE(SetGet::nextItem(VT_I4, nullptr, 0, &value));
  EXPECT_EQ(-9, value);
}

TEST_F(SetGetTest, ArrayWithoutRecordedTypeIsCheckedByElementSize) {
  SAFEARRAY* raw = nullptr;
  ASSERT_EQ(S_OK, SafeArrayAllocDescriptor(1, &raw));
  fw::UniqueSafeArray array(raw);
  raw->cbElements = sizeof(double);
  raw->rgsabound[0].cElements = 2;
  raw->rgsabound[0].lLbound = 0;
  ASSERT_EQ(S_OK, SafeArrayAllocData(raw));
  VARTYPE recorded = VT_EMPTY;
  if (SUCCEEDED(SafeArrayGetVartype(raw, &recorded))) GTEST_SKIP() << "this system records a type: " << recorded;
  static_cast<double*>(raw->pvData)[1] = 6.5;
  BoxCapture boxes;
  long index = 1;
  double d = 0;
  EXPECT_TRUE(SetGet::noCopyVariantGetV(VT_R8, raw, index, &d));
  EXPECT_EQ(6.5, d);
  LONG small = -1;
  unsigned char area[sizeof(VARIANT)];
  memset(area, 0x11, sizeof area);
  EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_VARIANT, raw, index, area));
  EXPECT_EQ(0x11, area[0]);
  EXPECT_FALSE(SetGet::noCopyVariantGetV(VT_I4, raw, index, &small));
  EXPECT_EQ(-1, small);
  EXPECT_EQ(2u, boxes.count());
}

}  // namespace
