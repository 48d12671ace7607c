#include "MapStyle.h"

#include "DefineStar.h"
#include "MapGeometry.h"
#include "MapText.h"

namespace hexlane::render {

QFont MapFont(int points, bool antialiased) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(FontPixelSize(points));
    if (antialiased) {
        // Scaled text keeps its proportions only without hinting to the grid.
        font.setHintingPreference(QFont::PreferNoHinting);
    } else {
        font.setStyleStrategy(QFont::NoAntialias);
    }
    return font;
}

Qt::BrushStyle HatchFor(TBrushStyle style) {
    switch (style) {
    case bsSolid: return Qt::SolidPattern;
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

QString NameText(const TStar& star) {
    if (!star.SubsectorCapital) return MapText(star.Name1);
    std::string s = star.Name1;
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return MapText(s);
}

}  // namespace hexlane::render
