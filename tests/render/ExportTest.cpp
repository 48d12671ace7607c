// Picture files of the map: PNG against the bitmap, SVG and PDF text, pages
// of a poster, and stopping a job.

#include "MapBitmap.h"
#include "MapExport.h"
#include "MapRenderer.h"
#include "RenderFixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace hexlane::render;

namespace {

// The texts of an SVG file's <text> elements; empty when it does not parse.
QStringList SvgTexts(const QString& path, bool* parsed) {
    QFile file(path);
    QStringList texts;
    if (!file.open(QIODevice::ReadOnly)) return texts;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    *parsed = !xml.hasError();
    return texts;
}

// Each format through the one export function.
bool Run(const TUniverse& u, const PictureJob& job, const ProgressFn& progress, QString* error) {
    const ExportResult result = ExportPicture(u, job, progress);
    if (error) *error = result.Message;
    return result.Done();
}

PictureJob Job(PictureFormat format, const QRectF& area, int hexSize, const QString& path) {
    PictureJob job;
    job.Format = format;
    job.Area = area;
    job.HexSize = hexSize;
    job.Path = path;
    return job;
}

bool ExportPng(const TUniverse& u, const QRectF& area, int hexSize, const QString& path, const ProgressFn& progress,
               QString* error) {
    return Run(u, Job(PictureFormat::Png, area, hexSize, path), progress, error);
}

bool ExportSvg(const TUniverse& u, const QRectF& area, int hexSize, const QString& path, const QString& title,
               QString* error, PictureStyle style = PictureStyle::Screen) {
    PictureJob job = Job(PictureFormat::Svg, area, hexSize, path);
    job.Pages.Title = title;
    job.Pages.Look.Style = style;
    return Run(u, job, {}, error);
}

bool ExportPdf(const TUniverse& u, const QRectF& area, const PageSetup& setup, const QPageSize& paper,
               const QString& path, const ProgressFn& progress, QString* error) {
    PictureJob job = Job(PictureFormat::Pdf, area, setup.HexSize, path);
    job.Pages = setup;
    job.Paper = paper;
    return Run(u, job, progress, error);
}

bool SaveBitmap(const TUniverse& u, const MapRenderer& screen, const QString& path, QString* error) {
    PictureJob job = Job(PictureFormat::Bitmap, {}, screen.Layout().Frame.M.S, path);
    job.Screen = &screen;
    return Run(u, job, {}, error);
}

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = file.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") + bytes.count("/Type /Page>"));
}

}  // namespace

TEST(ExportPng, AtTheZoomLevelsIsTheBitmapPixelForPixel) {
    auto u = renderfix::SmallUniverse();
    QTemporaryDir dir;
    for (int hexSize : {10, 30, 90}) {
        u->SetHexSize(hexSize);
        const MapRenderer renderer(*u);
        const QString bmp = dir.filePath("map.bmp"), png = dir.filePath("map.png");
        QString error;
        ASSERT_TRUE(SaveBitmap(*u, renderer, bmp, &error)) << error.toStdString();
        ASSERT_TRUE(ExportPng(*u, WholeMapHexes(*u), hexSize, png, {}, &error)) << error.toStdString();
        const QImage fromPng(png);
        EXPECT_EQ(fromPng.format(), QImage::Format_Indexed8) << hexSize;  // a palette picture
        EXPECT_EQ(fromPng.convertToFormat(QImage::Format_RGB32), QImage(bmp).convertToFormat(QImage::Format_RGB32))
            << hexSize;
    }
}

TEST(ExportPng, AnyOtherHexSizeDecodesToThePicturesSize) {
    auto u = renderfix::SmallUniverse();
    QTemporaryDir dir;
    const struct {
        int hexSize;
        QSize size;
        bool dots;  // world dots dark enough to see (not at the smallest sizes)
    } cases[] = {{4, QSize(50, 58), false}, {64, QSize(800, 928), true}, {200, QSize(2500, 2900), true}};
    for (const auto& c : cases) {
        const QString png = dir.filePath("map.png");
        QString error;
        EXPECT_EQ(PictureSizeAt(*u, c.hexSize), c.size) << c.hexSize;
        ASSERT_TRUE(ExportPng(*u, WholeMapHexes(*u), c.hexSize, png, {}, &error)) << error.toStdString();
        const QImage image(png);
        EXPECT_EQ(image.size(), c.size) << c.hexSize;
        if (!c.dots) continue;
        // The picture is drawn: some of it is the black of world dots.
        bool dark = false;
        for (int y = 0; y < image.height() && !dark; ++y)
            for (int x = 0; x < image.width() && !dark; ++x) dark = qGray(image.pixel(x, y)) < 40;
        EXPECT_TRUE(dark) << c.hexSize;
    }
}

TEST(ExportSvg, ParsesAndNamesTheSystemsFromTheMiddleZoomUp) {
    auto u = renderfix::SmallUniverse();
    QTemporaryDir dir;
    const struct {
        int hexSize;
        bool names, hexNumbers;
    } cases[] = {{20, false, false}, {30, true, false}, {64, true, false}, {90, true, true}, {150, true, true}};
    for (const auto& c : cases) {
        const QString svg = dir.filePath("map.svg");
        QString error;
        ASSERT_TRUE(ExportSvg(*u, WholeMapHexes(*u), c.hexSize, svg, "Alpha", &error)) << error.toStdString();
        bool parsed = false;
        const QStringList texts = SvgTexts(svg, &parsed);
        EXPECT_TRUE(parsed) << c.hexSize;
        EXPECT_EQ(texts.contains("Amberline"), c.names) << c.hexSize;
        EXPECT_EQ(texts.contains("REGINA"), c.names) << c.hexSize;  // a capital in capitals
        EXPECT_EQ(texts.contains("0304"), c.hexNumbers) << c.hexSize;
    }
}

TEST(ExportPdf, NamesAreTextInTheFile) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    auto u = renderfix::SmallUniverse();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("map.pdf");
    PageSetup setup;
    setup.Title = "Alpha sector";
    QString error;
    ASSERT_TRUE(ExportPdf(*u, WholeMapHexes(*u), setup, QPageSize(QPageSize::A4), pdf, {}, &error))
        << error.toStdString();
    QProcess process;
    process.start(pdftotext, {pdf, "-"});
    ASSERT_TRUE(process.waitForFinished(10000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    // Names of populous worlds are printed in capitals.
    for (const char* expected : {"Alpha sector", "Amberline", "Redstone", "Far Corner", "Page 1 of 1"})
        EXPECT_TRUE(text.contains(expected, Qt::CaseInsensitive)) << expected;
}

TEST(Pages, PosterPagesRunAcrossTheRowsFromTheTopLeft) {
    // A 16 x 20 hex area on 1000 x 1500 device pixel pages at 96 dots per inch
    // without margin, title or numbers: at 90 pixels per hex 1440 x 1800
    // pixels, two pages across and two down, each holding an even share.
    PageSetup setup;
    setup.Mode = PageMode::Poster;
    setup.Orientation = PageOrientation::Portrait;
    setup.Look.Style = PictureStyle::Screen;
    setup.MarginMm = 0;
    setup.PageNumbers = false;
    const struct {
        int hexSize, across, down;
    } cases[] = {{90, 2, 2}, {30, 1, 1}, {60, 1, 1}, {120, 2, 2}, {200, 4, 3}};
    for (const auto& c : cases) {
        setup.HexSize = c.hexSize;
        const PagePlan plan = PlanPages(QRectF(0, 0, 16, 20), QSizeF(1000, 1500), 96, 20, setup);
        EXPECT_EQ(plan.Across, c.across) << c.hexSize;
        EXPECT_EQ(plan.Down, c.down) << c.hexSize;
    }
    setup.HexSize = 90;
    const PagePlan plan = PlanPages(QRectF(0, 0, 16, 20), QSizeF(1000, 1500), 96, 20, setup);
    const QRectF area(0, 0, 16 * 90, 20 * 90);  // pixels at the level's size, 90
    const QRectF expected[] = {{0, 0, 720, 900}, {720, 0, 720, 900}, {0, 900, 720, 900}, {720, 900, 720, 900}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(plan.PageArea(area, i), expected[i]) << i;
}

TEST(Pages, FitPutsTheWholeAreaOnOnePageBetweenTitleAndNumbers) {
    PageSetup setup;  // fitted, 10 mm margin, page numbers
    setup.Title = "Title";
    const PagePlan plan = PlanPages(QRectF(0, 0, 32.4, 40.5), QSizeF(794, 1123), 96, 20, setup);  // A4 at 96 dpi
    EXPECT_EQ(plan.Count(), 1);
    const double margin = 10 / 25.4 * 96;
    EXPECT_NEAR(plan.MapBox.top(), margin + 30, 1e-6);
    EXPECT_LE(plan.MapBox.bottom(), 1123 - margin - 30 + 1e-6);
    EXPECT_GE(plan.MapBox.left(), margin - 1e-6);
    EXPECT_LE(plan.MapBox.right(), 794 - margin + 1e-6);
    EXPECT_EQ(plan.HexSize, 22);  // (794 - 2 margins) / 32.4 hexes
    EXPECT_EQ(LevelForHexSize(plan.HexSize), 10);
}

TEST(ExportPdf, StoppedBetweenPagesLeavesTheFileAsItWas) {
    auto u = renderfix::SmallUniverse();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("map.pdf");
    PageSetup setup;
    setup.Mode = PageMode::Poster;
    setup.HexSize = 120;
    QString error;
    std::vector<int> told;
    const auto stopAfterTwo = [&told](int done, int total) {
        told.push_back(done);
        EXPECT_GT(total, 2);
        return done < 2;
    };
    // No file before: none after.
    EXPECT_FALSE(ExportPdf(*u, WholeMapHexes(*u), setup, QPageSize(QPageSize::A4), pdf, stopAfterTwo, &error));
    EXPECT_EQ(told, std::vector<int>({1, 2}));
    EXPECT_FALSE(QFile::exists(pdf));
    // An earlier file stays as it was.
    ASSERT_TRUE(ExportPdf(*u, WholeMapHexes(*u), setup, QPageSize(QPageSize::A4), pdf, {}, &error));
    const int pages = PdfPages(pdf);
    EXPECT_GT(pages, 2);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    told.clear();
    EXPECT_FALSE(ExportPdf(*u, WholeMapHexes(*u), setup, QPageSize(QPageSize::A4), pdf, stopAfterTwo, &error));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST(MapParts, SectorAndSubsectorHoldTheirOwnSystemsOnly) {
    auto u = renderfix::RichUniverse();  // sectors 11, 12, 21, 22 at (2, 1) .. (3, 2)
    const MapRenderer r(*u);
    const auto sector = SectorHexes(*u, "Sector 21");
    const auto subsector = SubsectorHexes(*u, "Sector 12", "Sector 12 F");
    ASSERT_TRUE(sector && subsector);
    EXPECT_FALSE(SectorHexes(*u, "Nowhere"));
    EXPECT_FALSE(SubsectorHexes(*u, "Sector 12", "Sector 21 F"));
    // Inside by a pixel: a neighbour's centre may lie on the edge of the hexes.
    const QRectF sectorPixels = QRectF(sector->topLeft() * 30, sector->size() * 30).adjusted(1, 1, -1, -1);
    const QRectF subsectorPixels = QRectF(subsector->topLeft() * 30, subsector->size() * 30).adjusted(1, 1, -1, -1);
    const auto stars = renderfix::PlacedStars(*u);
    ASSERT_EQ(stars.size(), r.Layout().Stars.size());
    for (std::size_t i = 0; i < stars.size(); ++i) {
        const QPoint centre = r.Layout().Stars[i].Centre;
        const auto* owner = dynamic_cast<const TSector*>(stars[i]->Owner());
        EXPECT_EQ(sectorPixels.contains(centre), owner->Name1 == "Sector 21") << stars[i]->Name1;
        EXPECT_EQ(subsectorPixels.contains(centre), owner->Name1 == "Sector 12" && stars[i]->SubSectorName == "Sector 12 F")
            << stars[i]->Name1;
    }
}

TEST(ExportPdf, APosterOfTooManyPagesIsRefusedBeforeAnyPage) {
    auto u = TUniverse::CreateNew();
    TSector* west = renderfix::AddSector(*u, "West", 1, 1);
    renderfix::AddStar(*west, "NW", 1, 1);
    renderfix::AddStar(*west, "SW", 1, 40);
    renderfix::AddStar(*renderfix::AddSector(*u, "East", 40, 1), "E", 1, 1);
    u->ComputeExtent();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("huge.pdf");
    PageSetup setup;
    setup.Mode = PageMode::Poster;
    setup.HexSize = 200;
    QString error;
    int pages = 0;  // about 350 across and 8 down
    EXPECT_FALSE(ExportPdf(*u, WholeMapHexes(*u), setup, QPageSize(QPageSize::A4), pdf,
                           [&pages](int, int) { return ++pages > 0; }, &error));
    EXPECT_EQ(pages, 0);
    EXPECT_EQ(error, TooManyPagesText());
    EXPECT_FALSE(QFile::exists(pdf));
    // The count itself never overflows, however large the area.
    const PagePlan plan = PlanPages(QRectF(0, 0, 1e12, 1e12), QSizeF(100, 100), 96, 10, setup);
    EXPECT_GT(static_cast<long long>(plan.Across) * plan.Down, kMaxPages);
}

#ifndef _WIN32
TEST(Export, EveryFormatRefusesATargetThatIsNotARegularFile) {
    auto u = renderfix::SmallUniverse();
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QString error;
    EXPECT_FALSE(ExportPng(*u, WholeMapHexes(*u), 30, fifo, {}, &error));
    EXPECT_FALSE(ExportSvg(*u, WholeMapHexes(*u), 30, fifo, "t", &error));
    EXPECT_FALSE(ExportPdf(*u, WholeMapHexes(*u), PageSetup{}, QPageSize(QPageSize::A4), fifo, {}, &error));
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());  // still the pipe
}
#endif
