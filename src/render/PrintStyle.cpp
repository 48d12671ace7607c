#include "PrintStyle.h"

namespace hexlane::render {

DetailLevel DetailFor(DetailChoice choice, double mmPerHex) {
    switch (choice) {
    case DetailChoice::Dots: return DetailLevel::Dots;
    case DetailChoice::Names: return DetailLevel::Names;
    case DetailChoice::Full: return mmPerHex >= 25 ? DetailLevel::FullUwp : DetailLevel::Full;
    case DetailChoice::Auto: break;
    }
    if (mmPerHex >= 25) return DetailLevel::FullUwp;
    if (mmPerHex >= 15) return DetailLevel::Full;
    if (mmPerHex >= 5) return DetailLevel::Names;
    return DetailLevel::Dots;
}

MapLayout LayoutPrint(const TUniverse& universe, const PrintLook&, double, const QRectF&) {
    // For now the screen look at the print geometry.
    return LayoutMap(universe, kPrintHexSize);
}

MapLayout LayoutLegend(const TUniverse&, const PrintLook&, double) {
    MapLayout none;
    none.Size = QSize(0, 0);
    none.Picture.Size = none.Size;
    return none;
}

}  // namespace hexlane::render
