// Water, ice, size and pointer texts of the world map dialog.

#include "worldmap/WorldMapInfo.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace worldmap {

int WaterPercent(int hydroIndex, int randomDigit) { return 10 * hydroIndex + randomDigit; }

int IcePercent(int waterPercent) { return static_cast<int>(std::floor((100 - waterPercent) * 0.1)); }

WorldDiameter DiameterForSize(int psIndex) {
    WorldDiameter d;
    if (psIndex <= 1) {
        d.Message = kRingWorldRefusal;
    } else if (psIndex == 2) {
        d.Mappable = true;
        d.Miles = 500;
        d.Message = kSmallWorldNotice;
    } else {
        d.Mappable = true;
        d.Miles = (psIndex - 2) * 1000;
    }
    return d;
}

std::string FormatGrouped(double value) {
    const double rounded = std::round(value);  // halves away from zero
    if (rounded == 0) return "0";
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.0f", std::fabs(rounded));
    const std::string plain = digits;
    std::string text = rounded < 0 ? "-" : "";
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (i > 0 && (plain.size() - i) % 3 == 0) text += ',';
        text += plain[i];
    }
    return text;
}

std::string WidthText(int diameterMiles) {
    return "Width = " + FormatGrouped(diameterMiles * std::numbers::pi) + " miles";
}

std::string HeightText(int diameterMiles) {
    return "Height = " + FormatGrouped(diameterMiles * std::numbers::pi * 0.75) + " miles";
}

int RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0)) result = lower + 1;
    return static_cast<int>(result);
}

namespace {

// Whole units (truncated toward zero) and minutes of the rest; both carry the
// sign of the position.
std::string Angle(int offset, double pixelsPerUnit, const char* unit) {
    const int whole = static_cast<int>(std::trunc(offset / pixelsPerUnit));
    const int minutes = RoundHalfEven((offset - whole * pixelsPerUnit) / pixelsPerUnit * 60);
    return std::to_string(whole) + unit + " " + std::to_string(minutes) + "' ";
}

}  // namespace

std::string LongitudeText(int pixelX) { return Angle(pixelX - 320, 26.67, "h"); }

std::string LatitudeText(int pixelY) { return Angle(240 - pixelY, 3.2, "d"); }

std::string ProposedPictureName(const std::string& systemName) {
    std::string name = systemName;
    for (char& c : name)
        if (c == '/') c = '_';
    return name + ".bmp";
}

}  // namespace worldmap
