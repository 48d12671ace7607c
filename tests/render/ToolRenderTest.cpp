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
    EXPECT_EQ(Tool({map, dir.filePath("x.bmp"), "--hex", "20"}).status, 2);
    EXPECT_EQ(Tool({map, dir.filePath("x.bmp"), "--show", "names,stars"}).status, 2);
    EXPECT_EQ(Tool({map, dir.filePath("x.gif")}).status, 1);
    EXPECT_EQ(Tool({map, dir.filePath("x.png"), "--region", "5000,5000,10,10"}).status, 1);
    EXPECT_EQ(Tool({dir.filePath("missing.map"), dir.filePath("x.png")}).status, 1);
    EXPECT_EQ(Tool({map}).status, 2);
}

#endif
