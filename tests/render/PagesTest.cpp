// Maps on paper: the paper's orientation and the page count, the poster's
// even shares and overlaps, and a part drawn exactly (nothing of its
// neighbours, in the picture or in a PDF's text).

#include "ExactPart.h"
#include "MapExport.h"
#include "RenderFixtures.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace hexlane::render;

namespace {

// A whole sector's hexes (as SectorHexes gives them), two side by side, and a subsector's.
const QRectF kSector(0, 0, 32.4, 40.5), kTwoSectors(0, 0, 64.4, 40.5), kSubsector(0, 0, 8.4, 10.5);

PageSetup PaperSetup(PageMode mode, int hexSize, PageOrientation orientation = PageOrientation::Auto) {
    PageSetup setup;
    setup.Mode = mode;
    setup.HexSize = hexSize;
    setup.Orientation = orientation;
    setup.Look.Legend = false;
    return setup;
}

// Whole words of a name, however the text breaks its spaces.
bool HasName(const QString& text, const std::string& name) {
    QString pattern = QRegularExpression::escape(QString::fromStdString(name));
    pattern.replace(QStringLiteral("\\ "), QStringLiteral("\\s+"));
    return QRegularExpression(QStringLiteral("(^|\\W)") + pattern + QStringLiteral("($|\\W)"),
                              QRegularExpression::CaseInsensitiveOption)
        .match(text)
        .hasMatch();
}

}  // namespace

TEST(Paper, OrientationGivesTheFewestPagesThenTheLargestHex) {
    const QPageSize a4(QPageSize::A4), letter(QPageSize::Letter);
    const struct {
        const char* what;
        QRectF area;
        QPageSize paper;
        PageSetup setup;
        int pages;
        bool landscape;
        double mmPerHex;  // 0: not checked
    } cases[] = {
        // 190 x 270.6 mm of map on a portrait A4 page, 277 x 183.6 landscape.
        {"sector fitted", kSector, a4, PaperSetup(PageMode::Fit, 30), 1, false, 190 / 32.4},
        {"two sectors fitted", kTwoSectors, a4, PaperSetup(PageMode::Fit, 30), 1, true, 277 / 64.4},
        {"subsector fitted", kSubsector, letter, PaperSetup(PageMode::Fit, 30), 1, false, 0},
        // 257 x 321 mm at 30 pixels a hex: 2 x 2 portrait, 1 x 2 landscape.
        {"poster at 30", kSector, a4, PaperSetup(PageMode::Poster, 30), 2, true, 30 / 96.0 * 25.4},
        {"poster at 30, portrait", kSector, a4, PaperSetup(PageMode::Poster, 30, PageOrientation::Portrait), 4, false, 0},
        // 771 x 964 mm at 90: 5 x 4 portrait, 3 x 6 landscape.
        {"poster at 90", kSector, a4, PaperSetup(PageMode::Poster, 90), 18, true, 0},
        {"poster at 90, portrait", kSector, a4, PaperSetup(PageMode::Poster, 90, PageOrientation::Portrait), 20, false, 0},
        {"small poster", kSubsector, a4, PaperSetup(PageMode::Poster, 30), 1, false, 0},
    };
    for (const auto& c : cases) {
        const PaperPlan plan = PlanOnPaper(c.area, c.paper, c.setup);
        EXPECT_EQ(plan.Pages, c.pages) << c.what;
        EXPECT_EQ(plan.Landscape, c.landscape) << c.what;
        if (c.mmPerHex > 0) {
            EXPECT_NEAR(plan.MmPerHex, c.mmPerHex, 0.02) << c.what;
        }
    }
    // A poster's legend has a page of its own, counted.
    PageSetup legend = PaperSetup(PageMode::Poster, 30);
    legend.Look.Legend = true;
    EXPECT_EQ(PlanOnPaper(kSector, a4, legend).Pages, 3);
    legend.Look.Style = PictureStyle::Screen;  // the screen picture has none
    EXPECT_EQ(PlanOnPaper(kSector, a4, legend).Pages, 2);
}

TEST(Paper, AFittedPagesLegendLiesOnNoSystemAndTheHexPlannedIsTheOnePrinted) {
    // Two sectors with a system in every hex (no corner is free), and a
    // subsector whose systems all lie in its top-left corner.
    auto dense = TUniverse::CreateNew();
    for (const auto& [name, x] : {std::pair("Alpha", 1), std::pair("Beta", 2)}) {
        TSector* s = renderfix::AddSector(*dense, name, x, 1);
        for (int column = 1; column <= 32; ++column)
            for (int row = 1; row <= 40; ++row) renderfix::AddStar(*s, name + std::to_string(column * 100 + row), column, row);
    }
    auto sparse = TUniverse::CreateNew();
    TSector* gamma = renderfix::AddSector(*sparse, "Gamma", 1, 1);
    for (int column = 1; column <= 4; ++column)
        for (int row = 1; row <= 5; ++row) renderfix::AddStar(*gamma, "G" + std::to_string(column * 100 + row), column, row);
    for (TUniverse* u : {dense.get(), sparse.get()}) {
        u->ComputeExtent();
        renderfix::ShowEverything(*u);
    }
    const QPageSize a4(QPageSize::A4), letter(QPageSize::Letter);
    const struct {
        const char* what;
        const TUniverse* u;
        std::optional<QRectF> part;
        QPageSize paper;
        bool corner;  // over a free corner of the map, which keeps its size
    } cases[] = {
        {"subsector, A4", dense.get(), SubsectorHexes(*dense, "Alpha", "Alpha F"), a4, false},
        {"subsector, Letter", dense.get(), SubsectorHexes(*dense, "Alpha", "Alpha F"), letter, false},
        {"sector, A4", dense.get(), SectorHexes(*dense, "Beta"), a4, false},
        {"sector, Letter", dense.get(), SectorHexes(*dense, "Beta"), letter, false},
        {"two sectors, A4", dense.get(), WholeMapHexes(*dense), a4, false},
        {"two sectors, Letter", dense.get(), WholeMapHexes(*dense), letter, false},
        {"free corner, Letter", sparse.get(), SubsectorHexes(*sparse, "Gamma", "Gamma A"), letter, true},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.part);
        PictureJob job;
        job.Format = PictureFormat::Pdf;
        job.Area = *c.part;
        job.Paper = c.paper;
        job.Pages.Title = QStringLiteral("Part");
        job.Pages.ExactArea = c.u == sparse.get() || c.part->width() < 40;
        job.Path = dir.filePath("part.pdf");
        const ExportResult result = ExportPicture(*c.u, job);
        ASSERT_TRUE(result.Done()) << result.Message.toStdString();
        const PaperPlan& printed = result.Paper;
        const PaperPlan planned = PlanOnPaper(*c.part, c.paper, job.Pages, c.u);
        EXPECT_EQ(planned.Pages, printed.Pages);
        EXPECT_EQ(planned.Landscape, printed.Landscape);
        EXPECT_NEAR(planned.MmPerHex, printed.MmPerHex, 0.01);
        PageSetup alone = job.Pages;
        alone.Look.Legend = false;
        const double largest = PlanOnPaper(*c.part, c.paper, alone, c.u).MmPerHex;
        if (c.corner) {
            EXPECT_NEAR(printed.MmPerHex, largest, 0.01);
            EXPECT_TRUE(printed.MapBox.contains(printed.LegendBox));
        } else {
            EXPECT_LE(printed.MmPerHex, largest + 0.01);
            EXPECT_GE(printed.MmPerHex, largest * 0.85);  // made just small enough
        }
        QSizeF page = c.paper.size(QPageSize::Millimeter);
        if (printed.Landscape) page.transpose();
        ASSERT_FALSE(printed.LegendBox.isEmpty());
        EXPECT_TRUE(QRectF(QPointF(0, 0), page).contains(printed.LegendBox));
        int systems = 0;
        for (const StarPlacement& star : LayoutMap(*c.u, 30).Stars) {
            const QPointF hexes = QPointF(star.Centre) / 30;
            if (!c.part->contains(hexes)) continue;
            ++systems;
            const QPointF at = printed.MapBox.topLeft() + (hexes - c.part->topLeft()) * printed.MmPerHex;
            EXPECT_FALSE(printed.LegendBox.contains(at)) << at.x() << ", " << at.y();
        }
        EXPECT_GE(systems, 20);
    }
    // A page too small to read the legend on: none, and the map keeps its size.
    PageSetup tiny;
    tiny.MarginMm = 100;
    const PaperPlan cramped = PlanOnPaper(kSubsector, a4, tiny, dense.get());
    tiny.Look.Legend = false;
    EXPECT_TRUE(cramped.LegendBox.isEmpty());
    EXPECT_NEAR(cramped.MmPerHex, PlanOnPaper(kSubsector, a4, tiny, dense.get()).MmPerHex, 1e-9);
}

TEST(Paper, PosterPagesShareThePartEvenlyAndOverlapByTheOverlap) {
    // 16 x 20 hexes at 90 pixels a hex (1440 x 1800) on 1000 x 1500 pages at
    // 96 dots per inch, without margin or lines: 2 x 2 pages.
    const QRectF area(0, 0, 16 * 90, 20 * 90);
    for (double overlapMm : {0.0, 5.0, 20.0}) {
        PageSetup setup = PaperSetup(PageMode::Poster, 90, PageOrientation::Portrait);
        setup.Look.Style = PictureStyle::Screen;
        setup.MarginMm = 0;
        setup.PageNumbers = false;
        setup.OverlapMm = overlapMm;
        const PagePlan plan = PlanPages(QRectF(0, 0, 16, 20), QSizeF(1000, 1500), 96, 20, setup);
        ASSERT_EQ(plan.Count(), 4) << overlapMm;
        const double overlap = overlapMm / 25.4 * 96;  // device and layout pixels alike here
        EXPECT_NEAR(plan.Overlap * plan.Pitch, overlap, 1e-6);
        const QRectF first = plan.PageArea(area, 0), right = plan.PageArea(area, 1), below = plan.PageArea(area, 2),
                     last = plan.PageArea(area, 3);
        // Each page holds an even share widened by the overlap; the last ends with the part.
        EXPECT_NEAR(first.width(), (1440 + overlap) / 2, 1e-6) << overlapMm;
        EXPECT_NEAR(first.height(), (1800 + overlap) / 2, 1e-6) << overlapMm;
        EXPECT_NEAR(first.right() - right.left(), overlap, 1e-6) << overlapMm;
        EXPECT_NEAR(first.bottom() - below.top(), overlap, 1e-6) << overlapMm;
        EXPECT_NEAR(last.right(), 1440, 1e-6) << overlapMm;
        EXPECT_NEAR(last.bottom(), 1800, 1e-6) << overlapMm;
        EXPECT_EQ(plan.Coordinates(3), QStringLiteral("B2"));
    }
}

TEST(ExactPart, TheOutlineHoldsThePartsOwnSystemsOnly) {
    auto u = renderfix::RichUniverse();  // sectors 11, 12, 21, 22 at (2, 1) .. (3, 2)
    const MapLayout layout = LayoutMap(*u, 30);
    const auto stars = renderfix::PlacedStars(*u);
    ASSERT_EQ(stars.size(), layout.Stars.size());
    const struct {
        std::optional<QRectF> part;
        const char *sector, *subsector;
    } cases[] = {{SectorHexes(*u, "Sector 21"), "Sector 21", nullptr},
                 {SubsectorHexes(*u, "Sector 12", "Sector 12 F"), "Sector 12", "Sector 12 F"},
                 {SubsectorHexes(*u, "Sector 22", "Sector 22 A"), "Sector 22", "Sector 22 A"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(c.part);
        const QPolygonF outline = ExactOutline(layout.Frame, *c.part);
        ASSERT_FALSE(outline.isEmpty()) << c.sector;
        for (std::size_t i = 0; i < stars.size(); ++i) {
            const auto* owner = dynamic_cast<const TSector*>(stars[i]->Owner());
            const bool own = owner->Name1 == c.sector && (!c.subsector || stars[i]->SubSectorName == c.subsector);
            EXPECT_EQ(outline.containsPoint(QPointF(layout.Stars[i].Centre), Qt::OddEvenFill), own)
                << c.sector << ": " << stars[i]->Name1;
        }
    }
    EXPECT_TRUE(ExactOutline(layout.Frame, QRectF(0.2, 0.2, 0.1, 0.1)).isEmpty());  // no hex's centre inside
}

TEST(ExactPart, ASubsectorPdfHoldsItsOwnNamesAndNoneOfItsNeighbours) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    auto u = renderfix::RichUniverse();
    QTemporaryDir dir;
    PictureJob job;
    job.Format = PictureFormat::Pdf;
    job.Area = *SubsectorHexes(*u, "Sector 12", "Sector 12 F");
    job.Pages.ExactArea = true;
    job.Pages.Look.Detail = DetailChoice::Full;
    job.Path = dir.filePath("sub.pdf");
    const ExportResult result = ExportPicture(*u, job);
    ASSERT_TRUE(result.Done()) << result.Message.toStdString();
    QProcess process;
    process.start(pdftotext, {job.Path, "-"});
    ASSERT_TRUE(process.waitForFinished(20000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    int own = 0;
    for (const TStar* star : renderfix::PlacedStars(*u)) {
        const auto* owner = dynamic_cast<const TSector*>(star->Owner());
        const bool inside = owner->Name1 == "Sector 12" && star->SubSectorName == "Sector 12 F";
        own += inside;
        EXPECT_EQ(HasName(text, star->Name1), inside) << star->Name1;
    }
    EXPECT_GT(own, 10);
}
