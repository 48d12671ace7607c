#include "Codepage.h"

#include <gtest/gtest.h>

TEST(Codepage, EveryByteConvertsToUtf8AndBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = hexlane::Cp1252ToUtf8(all);
    std::string back;
    ASSERT_TRUE(hexlane::Utf8ToCp1252(utf8, back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(hexlane::Cp1252ToUtf8("\x80\xe9"), "\xe2\x82\xac\xc3\xa9");  // euro sign, e acute
}

TEST(Codepage, TextOutsideTheCodePageIsRefused) {
    std::string out;
    EXPECT_FALSE(hexlane::Utf8ToCp1252("\xe4\xb8\xad", out));  // a CJK character
    EXPECT_FALSE(hexlane::Utf8ToCp1252("\xc3", out));          // truncated sequence
    EXPECT_TRUE(hexlane::Utf8ToCp1252("plain", out));
    EXPECT_EQ(out, "plain");
}
