#pragma once
// Map strings are single-byte Windows-1252 text. These convert them to and
// from UTF-8 for text output and input.

#include <string>
#include <string_view>

namespace hexlane {

std::string Cp1252ToUtf8(std::string_view text);

// True when the text is valid UTF-8 (no overlong forms, surrogates or
// broken sequences).
bool IsValidUtf8(std::string_view text);

// False (and `out` unspecified) when the text holds a character that
// Windows-1252 cannot represent, or is not valid UTF-8.
bool Utf8ToCp1252(std::string_view text, std::string& out);

// The Unicode code point of a Windows-1252 byte; the five unused bytes 0x81,
// 0x8D, 0x8F, 0x90 and 0x9D map to the control characters of the same value,
// so every byte converts both ways.
char32_t Cp1252ToUnicode(unsigned char byte);

}  // namespace hexlane
