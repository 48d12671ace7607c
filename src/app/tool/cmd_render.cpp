// hexlane-tool render: draws the hex map picture of a map as the editor
// shows it and writes it as a 4-bit Windows bitmap (.bmp), a PNG (.png), an
// SVG drawing (.svg) or PDF pages (.pdf), the format following the file's
// name. Runs without a display: Qt starts on the offscreen platform unless
// the user chose one.

#include "Command.h"
#include "ToolMap.h"

#include "DefineUniverse.h"
#include "OpenMap.h"
#include "MapBitmap.h"
#include "MapExport.h"
#include "MapPages.h"
#include "MapRenderer.h"

#include <QGuiApplication>

#include <iostream>
#include <memory>
#include <optional>
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

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    const std::string lower = Lower(text);
    return lower.size() >= suffix.size() && lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0;
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

enum class Format { Bitmap, Png, Svg, Pdf };

// What one render command asks for, as parsed from its command line.
struct RenderRequest {
    std::string mapFile, outFile;
    Format format = Format::Bitmap;
    int hexSize = 30;
    std::optional<std::string> show;
    bool sectorAddressing = false;
    std::optional<QRect> region;          // pixels at the hex size
    std::optional<std::string> sector;    // map text
    std::optional<std::string> subsector;  // map text
    hexlane::render::PageMode pages = hexlane::render::PageMode::Fit;
    QPageSize::PageSizeId page = QPageSize::A4;
};

std::optional<Format> FormatOf(const std::string& file) {
    if (EndsWith(file, ".bmp")) return Format::Bitmap;
    if (EndsWith(file, ".png")) return Format::Png;
    if (EndsWith(file, ".svg")) return Format::Svg;
    if (EndsWith(file, ".pdf")) return Format::Pdf;
    return std::nullopt;
}

// Checks the values that depend on each other; the failure message or empty.
std::string CheckRequest(const RenderRequest& r) {
    if (r.format == Format::Bitmap && !hexlane::render::IsRasterHexSize(r.hexSize))
        return "--hex: the hex size of a bitmap is 10, 30 or 90, not " + std::to_string(r.hexSize);
    if (r.hexSize < hexlane::render::kMinExportHexSize || r.hexSize > hexlane::render::kMaxExportHexSize)
        return "--hex: the hex size is a whole number from 4 to 200, not " + std::to_string(r.hexSize);
    if (int(r.region.has_value()) + int(r.sector.has_value()) + int(r.subsector.has_value()) > 1)
        return "--region, --sector and --subsector choose the part of the map: give one of them";
    return {};
}

int Render(const RenderRequest& r) {
    using namespace hexlane::render;
    if (const std::string problem = CheckRequest(r); !problem.empty()) return tool::Fail(problem);
    std::unique_ptr<TUniverse> opened = tool::OpenForTool(r.mapFile);
    if (!opened) return 1;
    TUniverse& u = *opened;
    const int level = LevelForHexSize(r.hexSize);
    u.SetHexSize(level);
    u.UseSectorHexAddressing = r.sectorAddressing;
    std::string unknown;
    if (r.show && !ApplyShow(u, *r.show, unknown))
        return tool::Fail("--show: unknown layer \"" + unknown +
                          "\" (names, starports, contents, routes, sectors, subsectors, allegiances or all)");
    StartQt();

    const QSize size = PictureSizeAt(u, r.hexSize);
    // The title line of PDF pages and of an SVG (as UTF-8): the part's name,
    // the map's, else the map file's.
    std::string title = tool::ToUtf8(u.Name1);
    if (title.empty()) {
        const std::size_t slash = r.mapFile.find_last_of("/\\");
        title = r.mapFile.substr(slash == std::string::npos ? 0 : slash + 1);
        if (const std::size_t dot = title.rfind('.'); dot != std::string::npos && dot > 0) title.resize(dot);
    }
    QRectF area = WholeMapHexes(u);
    if (r.region) {
        const QRect inside = r.region->intersected(QRect(QPoint(0, 0), size));
        if (inside.isEmpty())
            return tool::Fail("--region lies outside the picture (" + std::to_string(size.width()) + " x " +
                              std::to_string(size.height()) + ")");
        const double s = r.hexSize;
        area = QRectF(inside.x() / s, inside.y() / s, inside.width() / s, inside.height() / s);
    } else if (r.sector) {
        const auto found = SectorHexes(u, *r.sector);
        if (!found) return tool::Fail("--sector: no shown sector is named \"" + tool::ToUtf8(*r.sector) + "\"");
        area = *found;
        title = tool::ToUtf8(*r.sector);
    } else if (r.subsector) {
        // NAME, or SECTOR/NAME where subsectors of several sectors share a name.
        auto found = SubsectorHexes(u, {}, *r.subsector);
        const std::size_t slash = r.subsector->rfind('/');
        if (!found && slash != std::string::npos)
            found = SubsectorHexes(u, r.subsector->substr(0, slash), r.subsector->substr(slash + 1));
        if (!found) return tool::Fail("--subsector: no shown sector has a subsector named \"" + tool::ToUtf8(*r.subsector) + "\"");
        area = *found;
        title = tool::ToUtf8(*r.subsector);
    }

    const QString out = QString::fromStdString(r.outFile);
    const QString titleText = QString::fromStdString(title);
    QString error;
    bool written = false;
    switch (r.format) {
    case Format::Bitmap: {
        const MapRenderer renderer(u);
        written = SaveMapBitmap(renderer, out, PixelsOf(area, r.hexSize, renderer.PictureSize()), {}, &error);
        break;
    }
    case Format::Png: written = ExportPng(u, area, r.hexSize, out, {}, &error); break;
    case Format::Svg: written = ExportSvg(u, area, r.hexSize, out, titleText, &error); break;
    case Format::Pdf: {
        PageSetup setup;
        setup.Mode = r.pages;
        setup.HexSize = r.hexSize;
        setup.Title = titleText;
        written = ExportPdf(u, area, setup, QPageSize(r.page), out, {}, &error);
        break;
    }
    }
    if (!written) return tool::Fail(error.toStdString());
    std::cout << size.width() << " x " << size.height() << '\n';
    return 0;
}

// The command line as given: values are checked by Render, which knows how
// they depend on each other and on the output's format.
struct RenderOptions {
    std::string mapFile, outFile, show, region, sector, subsector, pages, page;
    int hexSize = 30;
    bool sectorAddressing = false;
};

int RunRender(const RenderOptions& o, const CLI::App& app) {
    RenderRequest r;
    r.mapFile = o.mapFile;
    r.outFile = o.outFile;
    r.sectorAddressing = o.sectorAddressing;
    r.hexSize = o.hexSize;

    const auto format = FormatOf(r.outFile);
    if (!format) return tool::Fail("the picture file's name must end in .bmp, .png, .svg or .pdf");
    r.format = *format;
    if (app.count("--show")) r.show = o.show;
    if (app.count("--region")) {
        const std::vector<std::string> parts = SplitCommas(o.region);
        int v[4] = {};
        if (parts.size() != 4 || !ParseInt(parts[0], v[0]) || !ParseInt(parts[1], v[1]) || !ParseInt(parts[2], v[2]) ||
            !ParseInt(parts[3], v[3]) || v[2] <= 0 || v[3] <= 0)
            return tool::Fail("--region: expected X,Y,WIDTH,HEIGHT with a positive width and height, not " + o.region);
        r.region = QRect(v[0], v[1], v[2], v[3]);
    }
    std::string mapText;
    if (app.count("--sector")) {
        if (!tool::ToMapText(o.sector, mapText)) return 1;
        r.sector = mapText;
    }
    if (app.count("--subsector")) {
        if (!tool::ToMapText(o.subsector, mapText)) return 1;
        r.subsector = mapText;
    }
    if (app.count("--pages")) {
        if (o.pages == "fit") r.pages = hexlane::render::PageMode::Fit;
        else if (o.pages == "poster") r.pages = hexlane::render::PageMode::Poster;
        else return tool::Fail("--pages: fit or poster, not " + o.pages);
    }
    if (app.count("--page")) {
        const std::string page = Lower(o.page);
        if (page == "a4") r.page = QPageSize::A4;
        else if (page == "letter") r.page = QPageSize::Letter;
        else return tool::Fail("--page: A4 or Letter, not " + o.page);
    }
    return Render(r);
}

tool::RegisterCommand renderCmd(
    "render",
    "render MAP OUT.bmp|OUT.png|OUT.svg|OUT.pdf [--hex N (10|30|90 for .bmp, 4..200 otherwise)] "
    "[--show names,starports,contents,routes,sectors,subsectors,allegiances|all] [--sector-hex-addressing] "
    "[--region X,Y,W,H | --sector NAME | --subsector [SECTOR/]NAME] [--pages fit|poster] [--page A4|Letter]",
    "Draws the hex map picture of a map as the editor shows it; the format follows OUT's extension.",
    [](CLI::App& app) {
        auto o = std::make_shared<RenderOptions>();
        tool::AddFile(app, "MAP", o->mapFile, "the map file");
        tool::AddFile(app, "OUT", o->outFile, "the picture file (.bmp, .png, .svg or .pdf)");
        app.add_option("--hex", o->hexSize, "the hex size: 10, 30 or 90 for .bmp, 4-200 otherwise");
        app.add_option("--show", o->show, "the layers shown, separated by commas");
        app.add_flag("--sector-hex-addressing", o->sectorAddressing, "hex numbers within each sector");
        app.add_option("--region", o->region, "the part of the picture drawn, in pixels")->type_name("X,Y,W,H");
        app.add_option("--sector", o->sector, "draw only this sector");
        app.add_option("--subsector", o->subsector, "draw only this subsector")->type_name("[SECTOR/]NAME");
        app.add_option("--pages", o->pages, "PDF: fit the part on one page, or poster pages")->type_name("fit|poster");
        app.add_option("--page", o->page, "PDF page size")->type_name("A4|Letter");
        return [o, &app] { return RunRender(*o, app); };
    });

}  // namespace
