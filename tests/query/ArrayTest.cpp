// The growable arrays of the compiler.

#include "FCArray.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(Array, GrowsInStepsOfEightElements) {
    TIntArray a;
    EXPECT_EQ(a.Capacity(), 0);
    for (int i = 0; i < 9; ++i) a.AddInt(i * 10);
    EXPECT_EQ(a.Count(), 9);
    EXPECT_EQ(a.Capacity(), 16);
    EXPECT_EQ(a.Read(8), 80);
    a.Clear();
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.Capacity(), 0);
}

TEST(Array, IndexesOutOfRangeRaiseCode12) {
    TIntArray a;
    a.AddInt(1);
    try {
        a.Read(1);
        FAIL() << "no error raised";
    } catch (const EArrayError& e) {
        EXPECT_EQ(e.Code, -12);
        EXPECT_STREQ(e.what(), "TArray error. Code -12");
    }
    const std::int32_t v = 5;
    EXPECT_THROW(a.Insert(2, &v), EArrayError);
    EXPECT_THROW(a.Insert(-1, &v), EArrayError);
    EXPECT_THROW(a.Delete(1), EArrayError);
    EXPECT_THROW(a.Put(-1, &v), EArrayError);
    EXPECT_NO_THROW(a.Insert(1, &v));  // at the end is allowed
}

TEST(Array, ImpossibleCapacitiesRaiseCode14) {
    TIntArray a;
    for (int i = 0; i < 3; ++i) a.AddInt(i);
    try {
        a.SetCapacity(2);
        FAIL() << "no error raised";
    } catch (const EArrayError& e) {
        EXPECT_EQ(e.Code, -14);
        EXPECT_STREQ(e.what(), "TArray error. Code -14");
    }
    EXPECT_THROW(a.SetCapacity(600000000), EArrayError);  // beyond 2147483646 bytes
    a.SetCapacity(3);
    EXPECT_EQ(a.Capacity(), 3);
}

TEST(Array, InsertDeleteAndIndexOfMoveWholeElements) {
    TIntArray a;
    for (int v : {1, 2, 4}) a.AddInt(v);
    const std::int32_t three = 3;
    a.Insert(2, &three);
    a.Delete(0);
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(a.Read(0), 2);
    EXPECT_EQ(a.Read(1), 3);
    EXPECT_EQ(a.Read(2), 4);
    EXPECT_EQ(a.IndexOf(&three), 1);
    const std::int32_t nine = 9;
    EXPECT_EQ(a.IndexOf(&nine), -1);
}

TEST(Array, ItemsKeepKindIndexAndExtendedValue) {
    TInternalExprArray items;
    EXPECT_EQ(items.ElementSize(), 5 + kExtendedBytes);
    items.AddItem('c', -1, 1.25L);
    items.InsertItem(0, ExprItem{'f', 34, 1.0L});
    EXPECT_EQ(items.Kind(0), 'f');
    EXPECT_EQ(items.Index(0), 34);
    EXPECT_EQ(items.Value(1), 1.25L);
    items.SetIndex(1, 7);
    items.SetValue(1, 0.1L);
    EXPECT_EQ(items.Item(1).Index, 7);
    EXPECT_EQ(items.Item(1).Value, 0.1L);  // all 64 bits of the extended mantissa kept
}

TEST(Array, CodeArrayStores32BitValuesLeastSignificantByteFirst) {
    TCodeArray code;
    code.AddByte(0xAA);
    code.AddInt32(0x01020304);
    EXPECT_EQ(code.Data()[1], 0x04);
    EXPECT_EQ(code.Data()[4], 0x01);
    code.InsertInt32(1, -2);
    EXPECT_EQ(code.Count(), 9);
    EXPECT_EQ(code.ReadInt32(1), -2);
    EXPECT_EQ(code.ReadInt32(5), 0x01020304);
    const char bytes[] = "xyz";
    code.AddBytes(bytes, 3);
    EXPECT_EQ(code.Data()[11], 'z');
    EXPECT_THROW(code.ReadInt32(10), EArrayError);
}

TEST(Array, ThePoolFindsEqualValuesByTheirBytes) {
    TArray pool;
    pool.AddValue(2.5L);
    pool.AddValue(-0.0L);
    EXPECT_EQ(pool.IndexOfValue(2.5L), 0);
    EXPECT_EQ(pool.IndexOfValue(0.0L), -1);  // +0 and -0 differ in their bytes
    EXPECT_EQ(pool.ValueAt(0), 2.5L);
}

}  // namespace
