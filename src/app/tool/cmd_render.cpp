// hexlane-tool render: draws the hex map picture of a map as the editor
// shows it and writes it as a 4-bit Windows bitmap (.bmp) or a PNG (.png).
// Runs without a display: Qt starts on the offscreen platform unless the
// user chose one.

#include "Command.h"
#include "ToolMap.h"

#include "DefineUniverse.h"
#include "FileIO.h"
#include "OpenMap.h"
#include "MapBitmap.h"
#include "MapRenderer.h"
#include "Palette.h"

#include <QGuiApplication>
#include <QBuffer>
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

// X,Y,WIDTH,HEIGHT with a positive width and height; false when not.
bool ParseRegion(const std::string& text, QRect& region) {
    const std::vector<std::string> parts = SplitCommas(text);
    int v[4] = {};
    if (parts.size() != 4 || !ParseInt(parts[0], v[0]) || !ParseInt(parts[1], v[1]) || !ParseInt(parts[2], v[2]) ||
        !ParseInt(parts[3], v[3]) || v[2] <= 0 || v[3] <= 0)
        return false;
    region = QRect(v[0], v[1], v[2], v[3]);
    return true;
}

struct RenderOptions {
    std::string mapFile, outFile, showText, regionText;
    int hexSize = 30;
    bool sectorAddressing = false;
};

int RunRender(const RenderOptions& o) {
    const std::string& mapFile = o.mapFile;
    const std::string& outFile = o.outFile;
    const int hexSize = o.hexSize;
    const bool hasShow = !o.showText.empty();
    const std::string& showText = o.showText;
    const bool hasRegion = !o.regionText.empty();
    const bool sectorAddressing = o.sectorAddressing;

    const bool bitmap = EndsWith(outFile, ".bmp");
    if (!bitmap && !EndsWith(outFile, ".png")) return tool::Fail("the picture file's name must end in .bmp or .png");
    QRect region;
    if (hasRegion) ParseRegion(o.regionText, region);

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
        // Encoded in memory, then written through the one safe writer.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(hexlane::render::ToPaletteImage(image)))
            return tool::Fail("Cannot write " + outFile + ": " + writer.errorString().toStdString());
        hexlane::ReplacingOutputFile file(outFile);
        if (!file.Open()) return tool::Fail("Error Creating Filestream");
        if (!file.WriteAll(bytes.constData(), static_cast<std::size_t>(bytes.size())))
            return tool::Fail("Cannot write " + outFile);
    }
    std::cout << size.width() << " x " << size.height() << '\n';
    return 0;
}

tool::RegisterCommand renderCmd(
    "render",
    "render MAP OUT.bmp|OUT.png [--hex 10|30|90] "
    "[--show names,starports,contents,routes,sectors,subsectors,allegiances|all] [--sector-hex-addressing] "
    "[--region X,Y,W,H]",
    "Draws the hex map picture of a map as the editor shows it.", [](CLI::App& app) {
        auto o = std::make_shared<RenderOptions>();
        tool::AddFile(app, "MAP", o->mapFile, "the map file");
        tool::AddFile(app, "OUT", o->outFile, "the picture file (.bmp or .png)");
        app.add_option("--hex", o->hexSize, "the hex size 10, 30 or 90")->check(CLI::IsMember({10, 30, 90}));
        app.add_option("--show", o->showText, "the layers shown, separated by commas")
            ->check(CLI::Validator(
                [](const std::string& text) {
                    TUniverse scratch;
                    std::string unknown;
                    return ApplyShow(scratch, text, unknown)
                               ? std::string()
                               : "unknown layer \"" + unknown +
                                     "\" (names, starports, contents, routes, sectors, subsectors, allegiances or all)";
                },
                "LAYERS"));
        app.add_option("--region", o->regionText, "the part of the picture drawn")
            ->check(CLI::Validator(
                [](const std::string& text) {
                    QRect region;
                    return ParseRegion(text, region)
                               ? std::string()
                               : "expected X,Y,WIDTH,HEIGHT with a positive width and height, not " + text;
                },
                "X,Y,W,H"));
        app.add_flag("--sector-hex-addressing", o->sectorAddressing, "hex numbers within each sector");
        return [o] { return RunRender(*o); };
    });

}  // namespace

