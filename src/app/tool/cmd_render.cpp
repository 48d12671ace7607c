// hexlane-tool render: draws the hex map picture of a map as the editor
// shows it and writes it as a 4-bit Windows bitmap (.bmp) or a PNG (.png).
// Runs without a display: Qt starts on the offscreen platform unless the
// user chose one.

#include "Command.h"
#include "ToolMap.h"

#include "DefineUniverse.h"
#include "OpenMap.h"
#include "MapBitmap.h"
#include "MapRenderer.h"
#include "Palette.h"

#include <QGuiApplication>
#include <QImageWriter>

#include <charconv>
#include <iostream>
#include <memory>
#include <sstream>

namespace {

using tool::ParseInt;

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) parts.push_back(part);
    return parts;
}

bool EndsWith(std::string text, const std::string& suffix) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Sets the Show flags named in a --show list; false on an unknown name.
bool ApplyShow(TUniverse& u, const std::string& list, std::string& unknown) {
    for (const std::string& item : SplitCommas(list)) {
        if (item == "names") u.ShowNames = true;
        else if (item == "starports") u.ShowStarports = true;
        else if (item == "contents") u.ShowSystemContents = true;
        else if (item == "routes") u.ShowRoutes = true;
        else if (item == "sectors") u.ShowSectorLines = true;
        else if (item == "subsectors") u.ShowSubsectorLines = true;
        else if (item == "allegiances") u.ShowAllegianceColors = true;
        else if (item == "all") {
            u.ShowAllInfo = u.ShowNames = u.ShowStarports = u.ShowSystemContents = u.ShowRoutes =
                u.ShowSectorLines = u.ShowSubsectorLines = u.ShowAllegianceColors = true;
        } else {
            unknown = item;
            return false;
        }
    }
    return true;
}

// Qt for drawing, on the offscreen platform unless one was chosen.
void StartQt() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "hexlane-tool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

int RunRender(const tool::Args& arguments) {
    tool::Args args = arguments;
    std::string hexText, showText, regionText;
    const bool hasHex = tool::TakeOption(args, "--hex", hexText);
    const bool hasShow = tool::TakeOption(args, "--show", showText);
    const bool hasRegion = tool::TakeOption(args, "--region", regionText);
    const bool sectorAddressing = tool::TakeFlag(args, "--sector-hex-addressing");
    if (args.size() != 2) return tool::UsageError("render");
    const std::string& mapFile = args[0];
    const std::string& outFile = args[1];

    int hexSize = 30;
    if (hasHex && (!ParseInt(hexText, hexSize) || (hexSize != 10 && hexSize != 30 && hexSize != 90)))
        return tool::Fail("--hex: the hex size is 10, 30 or 90, not " + hexText);
    const bool bitmap = EndsWith(outFile, ".bmp");
    if (!bitmap && !EndsWith(outFile, ".png")) return tool::Fail("the picture file's name must end in .bmp or .png");
    QRect region;
    if (hasRegion) {
        const std::vector<std::string> parts = SplitCommas(regionText);
        int v[4] = {};
        if (parts.size() != 4 || !ParseInt(parts[0], v[0]) || !ParseInt(parts[1], v[1]) || !ParseInt(parts[2], v[2]) ||
            !ParseInt(parts[3], v[3]) || v[2] <= 0 || v[3] <= 0)
            return tool::Fail("--region: expected X,Y,WIDTH,HEIGHT with a positive width and height, not " + regionText);
        region = QRect(v[0], v[1], v[2], v[3]);
    }

    std::unique_ptr<TUniverse> opened = tool::OpenForTool(mapFile);
    if (!opened) return 1;
    TUniverse& u = *opened;
    u.SetHexSize(hexSize);
    u.UseSectorHexAddressing = sectorAddressing;
    std::string unknown;
    if (hasShow && !ApplyShow(u, showText, unknown))
        return tool::Fail("--show: unknown layer \"" + unknown +
                          "\" (names, starports, contents, routes, sectors, subsectors, allegiances or all)");

    StartQt();
    const hexlane::render::MapRenderer renderer(u);
    const QSize size = renderer.PictureSize();
    const QRect picture(QPoint(0, 0), size);
    if (hasRegion) {
        region = region.intersected(picture);
        if (region.isEmpty())
            return tool::Fail("--region lies outside the picture (" + std::to_string(size.width()) + " x " +
                              std::to_string(size.height()) + ")");
    } else {
        region = picture;
    }

    const QString out = QString::fromStdString(outFile);
    if (bitmap) {
        QString error;
        if (!hexlane::render::SaveMapBitmap(renderer, out, region, {}, &error)) return tool::Fail(error.toStdString());
    } else {
        const QImage image = renderer.Render(region);
        if (image.isNull())
            return tool::Fail("not enough memory for a " + std::to_string(region.width()) + " x " +
                              std::to_string(region.height()) + " picture; write a .bmp instead");
        QImageWriter writer(out, "png");
        if (!writer.write(hexlane::render::ToPaletteImage(image)))
            return tool::Fail("Cannot write " + outFile + ": " + writer.errorString().toStdString());
    }
    std::cout << size.width() << " x " << size.height() << '\n';
    return 0;
}

tool::RegisterCommand renderCmd(
    "render",
    "render MAP OUT.bmp|OUT.png [--hex 10|30|90] "
    "[--show names,starports,contents,routes,sectors,subsectors,allegiances|all] [--sector-hex-addressing] "
    "[--region X,Y,W,H]",
    RunRender);

}  // namespace

