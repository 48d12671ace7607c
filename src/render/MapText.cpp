#include "MapText.h"

#include "Codepage.h"

namespace hexlane::render {

QString MapText(std::string_view cp1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (char c : cp1252)
        out.append(QChar(static_cast<char16_t>(hexlane::Cp1252ToUnicode(static_cast<unsigned char>(c)))));
    return out;
}

}  // namespace hexlane::render
