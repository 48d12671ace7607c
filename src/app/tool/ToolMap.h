#pragma once
// Helpers shared by hexlane-tool commands that open maps and name systems.

#include "OpenMap.h"

#include <string>

namespace tool {

// Opens a map as the editor does; on failure prints the system's message and
// leaves `universe` null.
std::unique_ptr<TUniverse> OpenForTool(const std::string& path);

// Command-line text (UTF-8) as a map string (Windows-1252); false with a
// message on standard error when it cannot be represented.
bool ToMapText(const std::string& utf8, std::string& mapText);

// The same for a name the command gives to a new or changed object (a
// sector, allegiance or route): control characters (a line end, a tab) are
// refused too, as they would break the lines of files that list names.
bool ToMapName(const std::string& utf8, std::string& mapText);

// A map string printed as UTF-8.
std::string ToUtf8(const std::string& mapText);

// Parses a whole decimal integer; false when the text is not one.
bool ParseInt(const std::string& text, int& value);

}  // namespace tool
