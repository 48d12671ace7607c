#pragma once
// The entries of the system editor's code lists (an entry's index is its code
// index, and each entry starts with its code character) and its content boxes.

#include <cstdint>

namespace hexlane::ui {

extern const char* const kSizes[13];
extern const char* const kAtmospheres[16];
extern const char* const kHydrographics[11];
extern const char* const kPopulations[11];
extern const char* const kGovernments[14];
extern const char* const kLawLevels[11];
extern const char* const kTechLevels[17];
extern const char* const kStarports[6];
extern const char* const kSpaceports[4];

// A content check box: its caption, objectName and bit of SystemContent.
struct ContentBox {
    const char* Caption;
    const char* ObjectName;
    std::int32_t Bit;
};
extern const ContentBox kContents[18];

}  // namespace hexlane::ui
