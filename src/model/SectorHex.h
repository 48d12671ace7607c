#pragma once
// A hex of a sector by its column (1-32) and row (1-40), and the split of a
// sector into 4 x 4 subsectors of 8 x 10 hexes. Stars store their subsector
// (by name) and their position within it; sector files and hex numbers
// ("XXYY") use the sector's column and row. This is the one place that turns
// one into the other.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

struct TSectorHex {
    static constexpr int kColumns = 32, kRows = 40;
    static constexpr int kSubsectorColumns = 8, kSubsectorRows = 10;

    int Column = 0;
    int Row = 0;

    // Subsector column and row (1-4) of a position in the sector's list of
    // subsector names (TSector::FindSubsector: 1-16, column by column); 0 for
    // the position 0 of a subsector the sector does not have.
    static constexpr int SubsectorColumnOf(int position) { return position ? (position - 1) / 4 + 1 : 0; }
    static constexpr int SubsectorRowOf(int position) { return position ? (position - 1) % 4 + 1 : 0; }

    // The hex of position (x, y) in a subsector. Any numbers are taken: the
    // sums are made in 64 bits and wrap to 32, as a damaged map can hold
    // anything in its coordinates.
    static constexpr TSectorHex InSubsector(int subsectorColumn, int subsectorRow, int x, int y) {
        return {static_cast<int>((static_cast<std::int64_t>(subsectorColumn) - 1) * kSubsectorColumns + x),
                static_cast<int>((static_cast<std::int64_t>(subsectorRow) - 1) * kSubsectorRows + y)};
    }
    static constexpr TSectorHex AtPosition(int position, int x, int y) {
        return InSubsector(SubsectorColumnOf(position), SubsectorRowOf(position), x, y);
    }

    // "XXYY": four decimal digits; nothing for any other text. The hex may
    // still lie outside the sector (InSector tells).
    static std::optional<TSectorHex> Parse(std::string_view text) {
        if (text.size() != 4) return std::nullopt;
        for (char c : text)
            if (c < '0' || c > '9') return std::nullopt;
        return TSectorHex{(text[0] - '0') * 10 + (text[1] - '0'), (text[2] - '0') * 10 + (text[3] - '0')};
    }

    constexpr bool InSector() const { return Column >= 1 && Column <= kColumns && Row >= 1 && Row <= kRows; }

    // For a hex in the sector: its subsector (1-4 each way), the subsector's
    // index in the sector's list of names (0-15), and the position within it.
    constexpr int SubsectorColumn() const { return (Column - 1) / kSubsectorColumns + 1; }
    constexpr int SubsectorRow() const { return (Row - 1) / kSubsectorRows + 1; }
    constexpr int SubsectorIndex() const { return (SubsectorColumn() - 1) * 4 + (SubsectorRow() - 1); }
    constexpr int X() const { return Column - kSubsectorColumns * (SubsectorColumn() - 1); }
    constexpr int Y() const { return Row - kSubsectorRows * (SubsectorRow() - 1); }
    // The T5 subsector letter: A-D across the first row of subsectors, E-H the next ...
    constexpr char SubsectorLetter() const { return static_cast<char>('A' + (SubsectorRow() - 1) * 4 + SubsectorColumn() - 1); }

    // "XXYY", with at least two digits each.
    std::string Text() const {
        char text[32];
        std::snprintf(text, sizeof text, "%02d%02d", Column, Row);
        return text;
    }

    friend constexpr bool operator==(const TSectorHex&, const TSectorHex&) = default;
};
