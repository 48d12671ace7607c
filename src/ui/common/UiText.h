#pragma once
// Map strings are Windows-1252 bytes; the window shows and takes QStrings.
// These two convert at the window's edge.

#include <QString>

#include <optional>
#include <string>

namespace hexlane::ui {

QString FromMap(const std::string& text);
// Nothing when the text holds a character that a map file cannot store.
std::optional<std::string> ToMap(const QString& text);

// The message shown when a typed text cannot be stored.
QString NotStorableMessage();

}  // namespace hexlane::ui
