// The polity borders layer: its shapes in the display list, its inks in the
// 16-colour raster, and the tool's --show borders.

#include "BordersLayer.h"
#include "MapLayout.h"
#include "MapRenderer.h"
#include "MapStyle.h"
#include "Palette.h"
#include "RenderFixtures.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace hexlane::render;

namespace {

constexpr std::int32_t kRedOff = 0x0000E0;   // 0x00BBGGRR: a red just off the palette
constexpr std::int32_t kBlueOff = 0xE00000;  // a blue just off the palette

// Two polities of two systems each, far apart, and a non-aligned pair that
// claims nothing.
std::unique_ptr<TUniverse> PolityUniverse() {
    auto u = TUniverse::CreateNew();
    renderfix::AddAllegiance(*u, "Aurelia", kRedOff, bsSolid)->ImportCode = "Au";
    renderfix::AddAllegiance(*u, "Brisk League", kBlueOff, bsSolid)->ImportCode = "Bl";
    renderfix::AddAllegiance(*u, "Drifters", 0x00FF00, bsSolid)->ImportCode = "NaDr";
    TSector* s = renderfix::AddSector(*u, "Gamma", 1, 1);
    const struct {
        const char* name;
        int column, row;
        const char* port;
        const char* allegiance;
    } stars[] = {
        {"Aure", 4, 4, "A", "Aurelia"},       {"Bastion", 5, 6, "B", "Aurelia"},
        {"Brisk", 16, 12, "C", "Brisk League"}, {"Carrow", 17, 13, "C", "Brisk League"},
        {"Drift", 10, 18, "D", "Drifters"},   {"Eddy", 11, 18, "D", "Drifters"},
    };
    for (const auto& st : stars) {
        TStar* star = renderfix::AddStar(*s, st.name, st.column, st.row);
        star->Starport = st.port;
        star->Allegiance = st.allegiance;
    }
    u->ComputeExtent();
    return u;
}

std::vector<const Shape*> Borders(const DisplayList& list) {
    std::vector<const Shape*> lines;
    for (const Shape& s : list.Shapes)
        if (s.Kind == ShapeKind::Polyline) lines.push_back(&s);
    return lines;
}

}  // namespace

TEST(Borders, OneClosedLinePerOutlineInTheAllegiancesColours) {
    auto u = PolityUniverse();
    u->SetHexSize(30);
    EXPECT_TRUE(Borders(LayoutMap(*u).Picture).empty());  // off by default

    u->ShowBorders = true;
    const MapLayout layout = LayoutMap(*u);
    const DisplayList& list = layout.Picture;
    const std::vector<regions::PolityRegion> regions = regions::ComputeRegions(*u);
    ASSERT_EQ(regions.size(), 2u);  // the non-aligned claim nothing
    std::size_t loops = 0;
    for (const auto& r : regions)
        for (const auto& piece : r.Pieces) loops += piece.Outlines.size();
    const auto lines = Borders(list);
    ASSERT_EQ(lines.size(), loops);
    const struct {
        std::int32_t colour;
        QRgb palette;
    } inks[] = {{kRedOff, kInkRed}, {kBlueOff, kInkBlue}};
    for (const auto& [colour, palette] : inks) {
        int found = 0;
        for (const Shape* s : lines) {
            if (s->Pen.True != MapColourToRgb(colour)) continue;
            ++found;
            EXPECT_EQ(s->Pen.Palette, palette);
            EXPECT_EQ(s->Width, kBorderWidth);
            ASSERT_GT(s->Count, 6u);  // at least around one hex, closed
            EXPECT_EQ(list.Points[s->First], list.Points[s->First + s->Count - 1]);
        }
        EXPECT_GT(found, 0);
    }
}

TEST(Borders, NamesOnlyWhereTheZoomDrawsText) {
    auto u = PolityUniverse();
    u->ShowBorders = true;
    const struct {
        int hexSize;
        bool names;
    } cases[] = {{10, false}, {30, true}, {90, true}};
    for (const auto& c : cases) {
        u->SetHexSize(c.hexSize);
        const DisplayList list = LayoutMap(*u).Picture;
        QStringList texts;
        for (const Shape& s : list.Shapes)
            if (s.Kind == ShapeKind::Text) texts << list.TextOf(s);
        EXPECT_EQ(texts.contains("AURELIA"), c.names) << c.hexSize;
        EXPECT_EQ(texts.contains("BRISK LEAGUE"), c.names) << c.hexSize;
        EXPECT_FALSE(texts.contains("DRIFTERS")) << c.hexSize;
    }
}

TEST(Borders, TheRasterDrawsThemInTheNearestPaletteInk) {
    auto u = PolityUniverse();
    u->SetHexSize(30);
    u->ShowBorders = true;
    const MapRenderer r(*u);
    const QImage image = r.Render(QRect(QPoint(0, 0), r.PictureSize()));
    const DisplayList& list = r.Layout().Picture;
    int checked = 0;
    for (const Shape* s : Borders(list)) {
        // The middle of each side is on the line, whatever else is near.
        for (std::uint32_t k = s->First; k + 1 < s->First + s->Count; ++k) {
            const QPoint mid = (list.Points[k] + list.Points[k + 1]) / 2;
            if (!image.rect().contains(mid)) continue;  // the picture ends at the last hex with a system
            ++checked;
            EXPECT_EQ(image.pixel(mid) | 0xFF000000, s->Pen.Palette) << mid.x() << "," << mid.y();
        }
    }
    EXPECT_GT(checked, 20);
}

#if defined(HEXLANE_TOOL)
TEST(Borders, TheToolDrawsThemOnlyWhenAsked) {
    QTemporaryDir dir;
    const QString map = dir.filePath("polities.map");
    std::string message;
    ASSERT_TRUE(PolityUniverse()->SaveToFile(map.toStdString(), message)) << message;
    auto render = [&](const QString& show, const QString& out) {
        QProcess p;
        p.start(QStringLiteral(HEXLANE_TOOL), {"render", map, dir.filePath(out), "--hex", "30", "--show", show});
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QImage(dir.filePath(out)).convertToFormat(QImage::Format_RGB32);
    };
    const QImage all = render("all", "all.png"), plain = render("names", "names.png");
    const QImage bordered = render("all,borders", "borders.png");
    EXPECT_NE(bordered, all);
    EXPECT_EQ(render("borders,names", "b.png") == plain, false);
    // The same pixels as the editor's own picture of the layer.
    auto u = PolityUniverse();
    u->SetHexSize(30);
    renderfix::ShowEverything(*u);
    u->ShowBorders = true;
    const MapRenderer r(*u);
    EXPECT_EQ(bordered, r.Render(QRect(QPoint(0, 0), r.PictureSize())));
}
#endif
