#include "ToolMap.h"

#include "Codepage.h"
#include "Command.h"

#include <charconv>
#include <iostream>

namespace tool {

std::unique_ptr<TUniverse> OpenForTool(const std::string& path) {
    OpenMapResult r = OpenMap(path);
    if (!r.Universe) {
        Fail(r.Message);
        return nullptr;
    }
    for (const std::string& line : r.Dropped) std::cerr << "not placed by the upgrade: " << ToUtf8(line) << '\n';
    return std::move(r.Universe);
}

bool ToMapText(const std::string& utf8, std::string& mapText) {
    if (hexlane::Utf8ToCp1252(utf8, mapText)) return true;
    if (!hexlane::IsValidUtf8(utf8)) {
        // Shown with the offending bytes escaped, as a terminal may not show them.
        std::string shown;
        for (unsigned char c : utf8) {
            static const char hex[] = "0123456789abcdef";
            if (c < 0x20 || c >= 0x80) shown += std::string("\\x") + hex[c >> 4] + hex[c & 15];
            else shown += static_cast<char>(c);
        }
        std::cerr << "\"" << shown << "\" is not valid UTF-8\n";
        return false;
    }
    std::cerr << "\"" << utf8 << "\" holds characters a map cannot store (Windows-1252)\n";
    return false;
}

bool ToMapName(const std::string& utf8, std::string& mapText) {
    if (!ToMapText(utf8, mapText)) return false;
    for (unsigned char c : mapText)
        if (c < 0x20 || c == 0x7F) {
            std::cerr << "names may not hold control characters (line ends, tabs)\n";
            return false;
        }
    return true;
}

std::string ToUtf8(const std::string& mapText) {
    return hexlane::Cp1252ToUtf8(mapText);
}

bool ParseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && !text.empty();
}

}  // namespace tool
