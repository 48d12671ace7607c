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

TEST(Codepage, InvalidUtf8FormsAreRefusedNotDecoded) {
    for (const char* bad : {"\xc1\x81",           // "A" in two bytes (overlong)
                            "\xe0\x80\xaf",       // "/" in three bytes (overlong)
                            "\xf0\x80\x80\xa9",   // copyright sign in four bytes (overlong)
                            "\xed\xa0\x80",       // a surrogate
                            "\xf4\x90\x80\x80",   // beyond U+10FFFF
                            "\x80", "a\xbf"}) {   // stray continuation bytes
        std::string out;
        EXPECT_FALSE(hexlane::Utf8ToCp1252(bad, out)) << bad;
        EXPECT_FALSE(hexlane::IsValidUtf8(bad)) << bad;
    }
    EXPECT_TRUE(hexlane::IsValidUtf8("\xe4\xb8\xad"));  // valid, though not in the code page
}
