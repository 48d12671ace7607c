// hexlane-tool render: draws the hex map picture of a map and writes it as a
// 4-bit Windows bitmap (.bmp), a PNG (.png), an SVG drawing (.svg) or PDF
// pages (.pdf), the format following the file's name: the editor's screen
// picture for a bitmap and a PNG at a zoom level, else the print look. Runs without a display: Qt starts on the offscreen platform unless
// the user chose one.

#include "Command.h"
#include "ToolMap.h"

#include "DefineUniverse.h"
#include "MapExport.h"
#include "MapGeometry.h"
#include "MapPages.h"

#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
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
        else if (item == "borders") u.ShowBorders = true;
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

// X,Y,WIDTH,HEIGHT of a --region: whole numbers, a positive width and height.
struct Region {
    long long X = 0, Y = 0, W = 0, H = 0;
};

bool ParseRegion(const std::string& text, Region& r) {
    const std::vector<std::string> parts = SplitCommas(text);
    int v[4] = {};
    if (parts.size() != 4) return false;
    for (int i = 0; i < 4; ++i)
        if (!ParseInt(parts[static_cast<std::size_t>(i)], v[i])) return false;
    r = {v[0], v[1], v[2], v[3]};
    return r.W > 0 && r.H > 0;
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

// The command line as given; the parser has checked each value alone.
struct RenderOptions {
    std::string mapFile, outFile, show, region, sector, subsector, pages, page;
    std::string style, detail, orientation;
    int hexSize = 30;
    int ppi = 96;
    double overlap = 0;
    bool sectorAddressing = false, subsectorNumbers = false;
};

// The look named by --style; the print look unless the picture is the screen's.
hexlane::render::PictureStyle StyleOf(const std::string& name) {
    using hexlane::render::PictureStyle;
    if (name == "screen") return PictureStyle::Screen;
    if (name == "atlas") return PictureStyle::Atlas;
    return PictureStyle::Print;
}

hexlane::render::DetailChoice DetailOf(const std::string& name) {
    using hexlane::render::DetailChoice;
    if (name == "dots") return DetailChoice::Dots;
    if (name == "names") return DetailChoice::Names;
    if (name == "full") return DetailChoice::Full;
    return DetailChoice::Auto;
}

hexlane::render::PageOrientation OrientationOf(const std::string& name) {
    using hexlane::render::PageOrientation;
    if (name == "portrait") return PageOrientation::Portrait;
    if (name == "landscape") return PageOrientation::Landscape;
    return PageOrientation::Auto;
}

int Misuse(const std::string& text) {
    return tool::UsageFail("render", text);
}

// The title line of PDF pages and of an SVG (as UTF-8): the part's name, the
// map's, else the map file's.
std::string DefaultTitle(const TUniverse& u, const std::string& mapFile) {
    std::string title = tool::ToUtf8(u.Name1);
    if (title.empty()) {
        const std::size_t slash = mapFile.find_last_of("/\\");
        title = mapFile.substr(slash == std::string::npos ? 0 : slash + 1);
        if (const std::size_t dot = title.rfind('.'); dot != std::string::npos && dot > 0) title.resize(dot);
    }
    return title;
}

int RunRender(const RenderOptions& o, const CLI::App& app) {
    using namespace hexlane::render;
    const auto format = FormatOfFile(QString::fromStdString(o.outFile));
    if (!format) return Misuse("OUT: the picture file's name must end in .bmp, .png, .svg or .pdf");
    // Values that depend on the format: what does not apply is refused.
    const bool pdf = *format == PictureFormat::Pdf;
    if (*format == PictureFormat::Bitmap && !IsRasterHexSize(o.hexSize))
        return Misuse("--hex: the hex size of a bitmap is 10, 30 or 90, not " + std::to_string(o.hexSize));
    if (!pdf && app.count("--pages")) return Misuse("--pages applies to .pdf files only");
    if (!pdf && app.count("--page")) return Misuse("--page applies to .pdf files only");
    const bool poster = o.pages == "poster";
    if (pdf && !poster && app.count("--hex"))
        return Misuse("--hex applies to a .pdf only with --pages poster (a fitted page takes the size that fits)");
    if (!pdf && app.count("--orientation")) return Misuse("--orientation applies to .pdf files only");
    if (app.count("--overlap") && !(pdf && poster))
        return Misuse("--overlap applies to a .pdf only with --pages poster");
    // A bitmap and a PNG at a zoom level are the screen picture itself.
    const bool raster = *format == PictureFormat::Bitmap || (*format == PictureFormat::Png && IsRasterHexSize(o.hexSize));
    const PictureStyle style = raster ? PictureStyle::Screen : StyleOf(o.style);
    if (raster && app.count("--style") && o.style != "screen")
        return Misuse("--style: a .bmp and a .png at hex size 10, 30 or 90 are the screen picture; the print look "
                      "takes another hex size, .svg or .pdf");
    const char* printOnly[] = {"--detail", "--subsector-hex-numbers"};
    for (const char* option : printOnly)
        if (app.count(option) && style == PictureStyle::Screen)
            return Misuse(std::string(option) + (raster ? " does not apply to the screen picture of a .bmp or a .png at "
                                                          "hex size 10, 30 or 90"
                                                        : " applies to the print and atlas styles only"));
    if (app.count("--ppi") && (*format == PictureFormat::Bitmap || pdf || raster || style == PictureStyle::Screen))
        return Misuse("--ppi applies to .png and .svg pictures in the print and atlas styles only");
    Region region;
    if (app.count("--region") && !ParseRegion(o.region, region))
        return Misuse("--region: expected X,Y,WIDTH,HEIGHT with a positive width and height, not " + o.region);
    std::string sector, subsector;
    if (app.count("--sector") && !tool::ToMapText(o.sector, sector)) return 1;
    if (app.count("--subsector") && !tool::ToMapText(o.subsector, subsector)) return 1;

    std::unique_ptr<TUniverse> opened = tool::OpenForTool(o.mapFile);
    if (!opened) return 1;
    TUniverse& u = *opened;
    u.SetHexSize(LevelForHexSize(o.hexSize));
    u.UseSectorHexAddressing = o.sectorAddressing;
    std::string unknown;
    if (app.count("--show") && !ApplyShow(u, o.show, unknown))
        return Misuse("--show: unknown layer \"" + unknown +
                      "\" (names, starports, contents, routes, sectors, subsectors, allegiances, borders or all)");
    StartQt();

    const QSize size = PictureSizeAt(u, o.hexSize);
    PictureJob job;
    job.Format = *format;
    job.HexSize = o.hexSize;
    job.Path = QString::fromStdString(o.outFile);
    job.Paper = QPageSize(Lower(o.page) == "letter" ? QPageSize::Letter : QPageSize::A4);
    job.Pages.Mode = poster ? PageMode::Poster : PageMode::Fit;
    job.Pages.HexSize = o.hexSize;
    job.Pages.Look.Style = style;
    job.Pages.Look.Detail = DetailOf(o.detail);
    job.Pages.Look.SectorHexNumbers = !o.subsectorNumbers;
    job.Pages.Orientation = OrientationOf(o.orientation);
    job.Pages.OverlapMm = o.overlap;
    job.PixelsPerInch = o.ppi;
    // A sector or subsector is drawn exactly: nothing of its neighbours.
    job.Pages.ExactArea = app.count("--sector") + app.count("--subsector") > 0;
    std::string title = DefaultTitle(u, o.mapFile);
    job.Area = WholeMapHexes(u);
    if (app.count("--region")) {
        // In 64 bits: no corner of the widest picture overflows.
        const long long left = std::max(region.X, 0LL), top = std::max(region.Y, 0LL);
        const long long right = std::min(region.X + region.W, static_cast<long long>(size.width()));
        const long long bottom = std::min(region.Y + region.H, static_cast<long long>(size.height()));
        if (left >= right || top >= bottom)
            return Misuse("--region lies outside the picture (" + std::to_string(size.width()) + " x " +
                          std::to_string(size.height()) + ")");
        const double s = o.hexSize;
        job.Area = QRectF(left / s, top / s, (right - left) / s, (bottom - top) / s);
    } else if (app.count("--sector")) {
        // The first sector of that name in map order, as every --sector option takes it.
        const TSector* first = u.FindSector(sector);
        if (first && first->ExcludeFromDisplay())
            return Misuse("--sector: the first sector named \"" + tool::ToUtf8(sector) + "\" is not shown");
        const auto found = SectorHexes(u, sector);
        if (!found) return Misuse("--sector: no shown sector is named \"" + tool::ToUtf8(sector) + "\"");
        job.Area = *found;
        title = tool::ToUtf8(sector);
    } else if (app.count("--subsector")) {
        // NAME, or SECTOR/NAME where subsectors of several sectors share a name.
        auto found = SubsectorHexes(u, {}, subsector);
        const std::size_t slash = subsector.rfind('/');
        if (!found && slash != std::string::npos)
            found = SubsectorHexes(u, subsector.substr(0, slash), subsector.substr(slash + 1));
        if (!found)
            return Misuse("--subsector: no shown sector has a subsector named \"" + tool::ToUtf8(subsector) + "\"");
        job.Area = *found;
        title = tool::ToUtf8(subsector);
    }
    job.Pages.Title = QString::fromStdString(title);
    const ExportResult result = ExportPicture(u, job);
    if (!result.Done()) return tool::Fail(result.Message.toStdString());
    if (pdf) {
        // Pages have no pixel size: their count and the hex's size on them.
        char hex[32];
        std::snprintf(hex, sizeof hex, "%.1f", result.Paper.MmPerHex);
        std::cout << result.Paper.Pages << (result.Paper.Pages == 1 ? " page" : " pages") << ", " << hex
                  << " mm a hex, " << (result.Paper.Landscape ? "landscape" : "portrait") << '\n';
        return 0;
    }
    // The size of the picture written: the part's, not the whole map's.
    const QSize written = PixelsOf(job.Area, o.hexSize, size).size();
    std::cout << written.width() << " x " << written.height() << '\n';
    return 0;
}

// Refuses a --show list with a name it does not know.
const CLI::Validator ShowList(
    [](const std::string& text) {
        static const std::set<std::string> known = {"names",      "starports",  "contents",    "routes", "sectors",
                                                    "subsectors", "allegiances", "borders",   "all"};
        for (const std::string& item : SplitCommas(text))
            if (!known.count(item))
                return "unknown layer \"" + item +
                       "\" (names, starports, contents, routes, sectors, subsectors, allegiances, borders or all)";
        return std::string();
    },
    "LIST", "layer list");

tool::RegisterCommand renderCmd(
    "render",
    "render MAP OUT.bmp|OUT.png|OUT.svg|OUT.pdf [--hex N (10|30|90 for .bmp, 4..200 otherwise)] "
    "[--show names,starports,contents,routes,sectors,subsectors,allegiances,borders|all] [--sector-hex-addressing] "
    "[--region X,Y,W,H | --sector NAME | --subsector [SECTOR/]NAME] [--pages fit|poster] [--page A4|Letter] "
    "[--style print|atlas|screen] [--detail auto|dots|names|full] [--orientation auto|portrait|landscape] "
    "[--overlap MM] [--ppi N] [--subsector-hex-numbers]",
    "Draws the hex map picture of a map; the format follows OUT's extension. A .bmp and a .png at hex size 10, "
    "30 or 90 are the editor's screen picture; a .pdf, an .svg and a .png at other sizes take the print look "
    "(--style print, or atlas in greys, or screen for the editor's look). --pages, --page, --orientation and "
    "--overlap apply to .pdf only, and --hex to a .pdf only as a poster.",
    [](CLI::App& app) {
        using namespace hexlane::render;
        auto o = std::make_shared<RenderOptions>();
        tool::AddFile(app, "MAP", o->mapFile, "the map file");
        tool::AddFile(app, "OUT", o->outFile, "the picture file (.bmp, .png, .svg or .pdf)");
        app.add_option("--hex", o->hexSize, "the hex size: 10, 30 or 90 for .bmp, 4-200 otherwise")
            ->check(CLI::Range(kMinExportHexSize, kMaxExportHexSize));
        app.add_option("--show", o->show, "the layers shown, separated by commas")->check(ShowList);
        app.add_flag("--sector-hex-addressing", o->sectorAddressing, "hex numbers within each sector");
        auto* region = app.add_option("--region", o->region, "the part of the picture drawn, in pixels")
                           ->type_name("X,Y,W,H")
                           ->check(CLI::Validator(
                               [](const std::string& text) {
                                   Region r;
                                   return ParseRegion(text, r) ? std::string()
                                                               : "expected X,Y,WIDTH,HEIGHT with a positive width "
                                                                 "and height, not " + text;
                               },
                               "X,Y,W,H", "region"));
        auto* sector = app.add_option("--sector", o->sector, "draw only this sector (the first of that name in map order)");
        auto* subsector =
            app.add_option("--subsector", o->subsector, "draw only this subsector")->type_name("[SECTOR/]NAME");
        region->excludes(sector)->excludes(subsector);
        sector->excludes(subsector);
        app.add_option("--pages", o->pages, "PDF: fit the part on one page, or poster pages")
            ->type_name("fit|poster")
            ->check(CLI::IsMember({"fit", "poster"}));
        app.add_option("--page", o->page, "PDF page size")
            ->type_name("A4|Letter")
            ->check(CLI::IsMember({"A4", "Letter"}, CLI::ignore_case));
        app.add_option("--style", o->style, "the look: print (default), atlas (greys) or screen (the editor's)")
            ->type_name("print|atlas|screen")
            ->check(CLI::IsMember({"print", "atlas", "screen"}));
        app.add_option("--detail", o->detail, "print look: detail by the hex's size on paper (auto) or fixed")
            ->type_name("auto|dots|names|full")
            ->check(CLI::IsMember({"auto", "dots", "names", "full"}));
        app.add_option("--orientation", o->orientation, "PDF: the paper's orientation; auto takes the fewest pages")
            ->type_name("auto|portrait|landscape")
            ->check(CLI::IsMember({"auto", "portrait", "landscape"}));
        app.add_option("--overlap", o->overlap, "PDF poster: millimetres that neighbouring pages share, with marks")
            ->type_name("MM")
            ->check(CLI::Range(0.0, 50.0));
        app.add_option("--ppi", o->ppi, "PNG and SVG in the print look: pixels per inch (default 96)")
            ->type_name("N")
            ->check(CLI::Range(24, 2400));
        app.add_flag("--subsector-hex-numbers", o->subsectorNumbers,
                     "print look: hex numbers within each subsector (default: within each sector)");
        return [o, &app] { return RunRender(*o, app); };
    });

}  // namespace
