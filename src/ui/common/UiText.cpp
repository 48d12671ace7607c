#include "UiText.h"

#include "Codepage.h"
#include "MapText.h"

namespace hexlane::ui {

QString FromMap(const std::string& text) { return hexlane::render::MapText(text); }

std::optional<std::string> ToMap(const QString& text) {
    std::string out;
    if (!hexlane::Utf8ToCp1252(text.toStdString(), out)) return std::nullopt;
    return out;
}

QString NotStorableMessage() {
    return QStringLiteral("The text holds characters that a map file cannot store (Western European letters only).");
}

}  // namespace hexlane::ui
