#pragma once
// Map strings (Windows-1252 bytes) as QString for drawing.

#include <QString>

#include <string_view>

namespace hexlane::render {

QString MapText(std::string_view cp1252);

}  // namespace hexlane::render
