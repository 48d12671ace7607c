// hexlane-tool render, run as a user runs it.

#include "MapRenderer.h"
#include "OpenMap.h"
#include "RenderFixtures.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#if defined(HEXLANE_TOOL)

using namespace hexlane::render;

namespace {

struct ToolRun {
    int status;
    QString out, err;
};

ToolRun Tool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(HEXLANE_TOOL), QStringList{"render"} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(ToolRender, WritesTheEditorsPictureAsBitmapOrPng) {
    QTemporaryDir dir;
    const QString map = dir.filePath("small.map");
    {
        auto u = renderfix::SmallUniverse();
        std::string message;
        ASSERT_TRUE(u->SaveToFile(map.toStdString(), message)) << message;
    }
    // What the editor shows after opening the map with every layer on.
    OpenMapResult opened = OpenMap(map.toStdString());
    ASSERT_TRUE(opened.Universe);
    opened.Universe->SetHexSize(90);
    renderfix::ShowEverything(*opened.Universe);
    const MapRenderer r(*opened.Universe);
    const QImage expected = r.Render(QRect(QPoint(0, 0), r.PictureSize()));

    const QString bmp = dir.filePath("out.bmp");
    ToolRun run = Tool({map, bmp, "--hex", "90", "--show", "all"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QStringLiteral("%1 x %2").arg(expected.width()).arg(expected.height()));
    EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB32), expected);

    const QString png = dir.filePath("part.png");
    run = Tool({map, png, "--hex", "90", "--show", "names,starports,contents,routes,sectors,subsectors,allegiances",
                "--region", "100,200,300,250"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), expected.copy(100, 200, 300, 250));

    // Defaults: hex size 30 and no layers; the hidden star is visible again.
    run = Tool({map, bmp});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QStringLiteral("375 x 435"));
}

TEST(ToolRender, RefusesBadArguments) {
    QTemporaryDir dir;
    const QString map = dir.filePath("small.map");
    {
        auto u = renderfix::SmallUniverse();
        std::string message;
        ASSERT_TRUE(u->SaveToFile(map.toStdString(), message)) << message;
    }
    EXPECT_EQ(Tool({dir.filePath("missing.map"), dir.filePath("x.png")}).status, 1);
    EXPECT_EQ(Tool({map}).status, 2);
    // Values wrong alone, for the format or for the picture: misuse, with the usage line.
    const QStringList refused[] = {
        {dir.filePath("x.bmp"), "--hex", "20"},
        {dir.filePath("x.bmp"), "--show", "names,stars"},
        {dir.filePath("x.gif")},
        {dir.filePath("x.png"), "--region", "5000,5000,10,10"},
        {dir.filePath("x.png"), "--region", "2147483647,2147483647,10,10"},
        {dir.filePath("x.png"), "--region", "2147483640,0,10,10"},
        {dir.filePath("x.png"), "--region", "-2147483648,-2147483648,10,10"},
        {dir.filePath("x.png"), "--region", "0,0,0,10"},
        {dir.filePath("x.png"), "--hex", "3"},
        {dir.filePath("x.svg"), "--hex", "201"},
        {dir.filePath("x.pdf"), "--pages", "wall"},
        {dir.filePath("x.pdf"), "--page", "A3"},
        {dir.filePath("x.png"), "--pages", "poster"},
        {dir.filePath("x.svg"), "--page", "A4"},
        {dir.filePath("x.pdf"), "--hex", "60"},
        {dir.filePath("x.png"), "--sector", "Nowhere"},
        {dir.filePath("x.png"), "--subsector", "Alpha/Nowhere"},
        {dir.filePath("x.png"), "--sector", "Alpha", "--region", "0,0,10,10"},
        // The look and the paper: unknown values, and options where they do not apply.
        {dir.filePath("x.pdf"), "--style", "poster"},
        {dir.filePath("x.bmp"), "--style", "print"},
        {dir.filePath("x.png"), "--style", "atlas"},  // hex size 30: the screen picture
        {dir.filePath("x.png"), "--detail", "names"},
        {dir.filePath("x.svg"), "--detail", "most"},
        {dir.filePath("x.svg"), "--style", "screen", "--detail", "full"},
        {dir.filePath("x.pdf"), "--orientation", "sideways"},
        {dir.filePath("x.svg"), "--orientation", "landscape"},
        {dir.filePath("x.pdf"), "--overlap", "-1"},
        {dir.filePath("x.pdf"), "--overlap", "5"},  // a fitted page has no neighbours
        {dir.filePath("x.png"), "--hex", "64", "--overlap", "5"},
        {dir.filePath("x.pdf"), "--ppi", "300"},
        {dir.filePath("x.png"), "--hex", "64", "--ppi", "5"},
        {dir.filePath("x.bmp"), "--subsector-hex-numbers"},
    };
    for (const QStringList& args : refused) {
        const ToolRun run = Tool(QStringList{map} + args);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: hexlane-tool render")) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(args[0])) << args.join(' ').toStdString();
    }
    // Two sectors of one name: --sector means the first in map order, here hidden.
    const QString twins = dir.filePath("twins.map");
    {
        auto u = renderfix::SmallUniverse();
        u->FindSector("Alpha")->SetExcludeFromDisplay(true);
        renderfix::AddSector(*u, "Alpha", 2, 1);
        std::string message;
        ASSERT_TRUE(u->SaveToFile(twins.toStdString(), message)) << message;
    }
    const ToolRun hidden = Tool({twins, dir.filePath("twin.png"), "--sector", "Alpha"});
    EXPECT_EQ(hidden.status, 2);
    EXPECT_TRUE(hidden.err.contains("the first sector named \"Alpha\" is not shown")) << hidden.err.toStdString();
    // Partly outside: the part inside is drawn.
    EXPECT_EQ(Tool({map, dir.filePath("edge.png"), "--region", "-10,-10,40,30"}).status, 0);
    EXPECT_EQ(QImage(dir.filePath("edge.png")).size(), QSize(30, 20));
}

TEST(ToolRender, WritesPngSvgAndPdfOfAnyPartAtAnySize) {
    QTemporaryDir dir;
    const QString map = dir.filePath("small.map");
    {
        auto u = renderfix::SmallUniverse();
        std::string message;
        ASSERT_TRUE(u->SaveToFile(map.toStdString(), message)) << message;
    }
    const struct {
        const char* file;
        QStringList args;
        QSize pngSize;  // for PNG files
        const char* contains;  // for SVG files
    } cases[] = {
        {"whole.png", {"--hex", "64"}, QSize(800, 928), nullptr},
        {"part.png", {"--hex", "45", "--region", "100,50,200,150"}, QSize(200, 150), nullptr},
        {"sub.png", {"--hex", "30", "--subsector", "Alpha/Alpha A"}, QSize(246, 315), nullptr},  // cut at the picture's left edge
        {"names.svg", {"--hex", "40", "--show", "names"}, QSize(), "Amberline"},
        {"sector.pdf", {"--sector", "Alpha", "--pages", "poster", "--page", "Letter"}, QSize(), nullptr},
        {"print.svg", {"--hex", "40", "--show", "names", "--style", "atlas", "--detail", "full", "--ppi", "150"},
         QSize(), "Amberline"},
        {"inches.svg", {"--hex", "40", "--ppi", "150"}, QSize(), "width=\"84.667mm\""},  // 500 pixels at 150 per inch
        {"print.png", {"--hex", "45", "--ppi", "200", "--subsector-hex-numbers"}, QSize(563, 653), nullptr},
    };
    for (const auto& c : cases) {
        const QString out = dir.filePath(c.file);
        const ToolRun run = Tool(QStringList{map, out} + c.args);
        ASSERT_EQ(run.status, 0) << c.file << ": " << run.err.toStdString();
        if (c.pngSize.isValid()) {
            EXPECT_EQ(QImage(out).size(), c.pngSize) << c.file;
            EXPECT_EQ(run.out.trimmed(), QStringLiteral("%1 x %2").arg(c.pngSize.width()).arg(c.pngSize.height()));
        }
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.file;
        const QByteArray bytes = file.readAll();
        if (c.contains) {
            EXPECT_TRUE(bytes.contains(c.contains)) << c.file;
        }
        if (QString(c.file).endsWith(".pdf")) {
            EXPECT_TRUE(bytes.startsWith("%PDF")) << c.file;
        }
    }
    // A PDF names its pages and the hex's size on them, not a pixel size.
    const struct {
        QStringList args;
        const char* line;
    } pdfs[] = {
        {{"--sector", "Alpha"}, "1 page, 5.9 mm a hex, portrait"},
        {{"--sector", "Alpha", "--pages", "poster", "--hex", "30", "--style", "screen"}, "2 pages, 7.9 mm a hex, landscape"},
        {{"--sector", "Alpha", "--pages", "poster", "--hex", "30", "--orientation", "portrait", "--overlap", "10",
          "--style", "screen"},
         "4 pages, 7.9 mm a hex, portrait"},
    };
    for (const auto& c : pdfs) {
        const ToolRun run = Tool(QStringList{map, dir.filePath("paper.pdf")} + c.args);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.trimmed(), QString(c.line)) << c.args.join(' ').toStdString();
    }
}

#endif
