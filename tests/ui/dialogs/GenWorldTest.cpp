// The world map dialog: what it derives from a star, plotting through a real
// build of the library and through broken ones, the pointer read-out and the
// click, saving and loading the picture, OK and Cancel.

#include "GenWorld.h"

#include "ScriptedPrompter.h"
#include "TestUtil.h"

#include "SharedLibrary.h"
#include "worldmap/WorldMapInfo.h"
#include "worldmap/WorldMapLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using hexlane::ui::FileChoice;
using hexlane::ui::TfGenWorld;

namespace {

const QString kUnableToLoad = "error: Unable to Load Orbiscarta.DLL";
const QString kMapRoutine = "info: Error in Map Routine";

// The real library, and the stand-ins without CreateMap and with a failing one:
// where the build says, else where the build puts them beside this program.
std::filesystem::path Folder(const char* given, const std::filesystem::path& besideProgram) {
    return *given ? std::filesystem::path(given) : hexlane::ExecutableFolder() / besideProgram;
}
#ifndef HEXLANE_ORBISCARTA_DIR
#define HEXLANE_ORBISCARTA_DIR ""
#endif
#ifndef HEXLANE_FAKE_NO_CREATEMAP_DIR
#define HEXLANE_FAKE_NO_CREATEMAP_DIR ""
#endif
#ifndef HEXLANE_FAKE_FAILING_DIR
#define HEXLANE_FAKE_FAILING_DIR ""
#endif
std::filesystem::path LibraryFolder() { return Folder(HEXLANE_ORBISCARTA_DIR, "."); }
std::filesystem::path NoCreateMapFolder() { return Folder(HEXLANE_FAKE_NO_CREATEMAP_DIR, "worldmap-fakes/NoCreateMap"); }
std::filesystem::path FailingFolder() { return Folder(HEXLANE_FAKE_FAILING_DIR, "worldmap-fakes/FailingCreateMap"); }

// Records the path each file chooser proposes, then answers as the scripted prompter does.
class ProposalPrompter final : public hexlane::ui::Prompter {
public:
    ScriptedPrompter inner;
    QStringList Proposed;

    void Information(const QString& text) override { inner.Information(text); }
    void Error(const QString& text) override { inner.Error(text); }
    bool YesNo(const QString& text, hexlane::ui::Look look) override { return inner.YesNo(text, look); }
    hexlane::ui::Answer YesNoCancel(const QString& text) override { return inner.YesNoCancel(text); }
    std::optional<QString> Input(const QString& t, const QString& p, const QString& d) override {
        return inner.Input(t, p, d);
    }
    std::optional<QString> OpenFile(const FileChoice& choice) override {
        Proposed << choice.InitialPath + "|" + choice.DefaultExtension;
        return inner.OpenFile(choice);
    }
    std::optional<QString> SaveFile(const FileChoice& choice) override {
        Proposed << choice.InitialPath + "|" + choice.DefaultExtension;
        return inner.SaveFile(choice);
    }
    std::optional<QColor> Colour(const QColor& c, const QString& t) override { return inner.Colour(c, t); }
};

struct WorldDialog {
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    TStar* star;
    ProposalPrompter prompter;
    QStringList& log = prompter.inner.Log;
    TfGenWorld dialog{prompter};

    // A star of the given profile; the water digit drawn is `digit`.
    explicit WorldDialog(const std::string& upc, int digit = 3) {
        TSector* sector = testutil::AddSector(*universe, "Spinward", 0, 0);
        star = testutil::AddStar(*sector, "Regina/Alpha", 19, 10, upc);
        dialog.SetDice([digit](int sides) {
            EXPECT_EQ(sides, 10);
            return digit + 1;
        });
        dialog.SetLibraryFolder(LibraryFolder());
    }
    template <typename T>
    T* Find(const char* name) {
        T* w = dialog.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Text(const char* name) { return Find<QLabel>(name)->text(); }
    QWidget* Picture() { return Find<QWidget>("rPicture"); }
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent event(type, QPointF(x, y), Picture()->mapToGlobal(QPointF(x, y)), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(Picture(), &event);
    }
};

// The picture the library gives for these parameters, with its grid.
QImage Expected(int seed, int faults, int water, int ice) {
    worldmap::MapRequest r;
    r.Seed = seed;
    r.FaultCount = faults;
    r.WaterPercent = water;
    r.IcePercent = ice;
    const worldmap::PlotResult result = worldmap::PlotWorld(r, LibraryFolder());
    EXPECT_TRUE(result.Plotted()) << result.Error;
    if (!result.Plotted()) return {};
    worldmap::WorldPicture picture = worldmap::PictureFromCells(result.Cells, r.Width, r.Height);
    worldmap::DrawGrid(picture);
    QImage image(r.Width, r.Height, QImage::Format_RGB32);
    for (int y = 0; y < r.Height; ++y)
        for (int x = 0; x < r.Width; ++x) {
            const worldmap::Rgb c = worldmap::DisplayPalette()[picture.At(x, y)];
            image.setPixel(x, y, qRgb(c.R, c.G, c.B));
        }
    return image;
}

QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// Pixels off the grid lines whose colour passes the test.
template <typename Test>
int Count(const QImage& image, Test test) {
    const std::vector<int> columns = worldmap::GridColumns(640), rows = worldmap::GridRows(480);
    int n = 0;
    for (int y = 0; y < 480; ++y) {
        if (std::find(rows.begin(), rows.end(), y) != rows.end()) continue;
        for (int x = 0; x < 640; ++x)
            if (std::find(columns.begin(), columns.end(), x) == columns.end() && test(image.pixel(x, y))) ++n;
    }
    return n;
}
int MapCellsOffTheGrid() { return (640 - 24) * (480 - 15); }

}  // namespace

TEST(WorldMapDialog, ShowsTheSizeAndParametersDerivedFromTheStar) {
    WorldDialog d("557000");  // size 5: 5000 miles; hydrographics 7
    d.star->MapIndex = 1234;
    d.star->Skewing = 7000;
    ASSERT_TRUE(d.dialog.Load(*d.star));
    EXPECT_EQ(d.dialog.windowTitle(), "Generate World Map");
    EXPECT_EQ(d.Text("rWidth"), "Width = 15,708 miles");
    EXPECT_EQ(d.Text("rHeight"), "Height = 11,781 miles");
    EXPECT_EQ(d.Text("rLongitude"), "###");
    EXPECT_EQ(d.Text("rLatitude"), "###");
    EXPECT_EQ(d.Find<QSpinBox>("rMapIndex")->value(), 1234);
    EXPECT_EQ(d.Find<QSpinBox>("rSkewing")->value(), 7000);
    EXPECT_EQ(d.Find<QSpinBox>("rMapIndex")->singleStep(), 5);
    EXPECT_EQ(d.dialog.WaterPercent(), 73);
    EXPECT_EQ(d.dialog.IcePercent(), 2);
    EXPECT_TRUE(d.dialog.Picture().isNull());
    EXPECT_TRUE(d.log.isEmpty());

    // A new system's zeros show as the lowest values allowed.
    WorldDialog fresh("757000");
    ASSERT_TRUE(fresh.dialog.Load(*fresh.star));
    EXPECT_EQ(fresh.Find<QSpinBox>("rMapIndex")->value(), 1);
    EXPECT_EQ(fresh.Find<QSpinBox>("rSkewing")->value(), 500);
}

TEST(WorldMapDialog, SmallWorldsAreAssumedAt500MilesAndRingsAndBeltsAreRefused) {
    WorldDialog small("S00000");
    ASSERT_TRUE(small.dialog.Load(*small.star));
    EXPECT_EQ(small.log, QStringList({"info: Assuming a 500 mi diameter world"}));
    EXPECT_EQ(small.Text("rWidth"), "Width = 1,571 miles");

    for (const char* upc : {"000000", "R00000"}) {
        WorldDialog ring(upc);
        EXPECT_EQ(ring.dialog.Execute(*ring.star), 0);
        EXPECT_EQ(ring.log, QStringList({"info: Unable to create maps for Ring Worlds or Asteroid Belts"}));
    }
}

TEST(WorldMapDialog, PlotsTheLibrarysMapForTheChosenNumbersWithItsGrid) {
    ASSERT_TRUE(std::filesystem::exists(worldmap::LibraryPath(LibraryFolder())))
        << "the test needs a build of the world-map library in " << LibraryFolder();
    WorldDialog d("757000", 3);  // water 73, ice 2
    d.star->MapIndex = 42;
    ASSERT_TRUE(d.dialog.Load(*d.star));
    d.Find<QSpinBox>("rSkewing")->setValue(900);
    ASSERT_TRUE(d.dialog.rPlotMapClick());
    EXPECT_TRUE(d.log.isEmpty()) << d.log.join('\n').toStdString();
    const QImage first = d.dialog.Picture();
    ASSERT_EQ(first.size(), QSize(640, 480));
    EXPECT_EQ(Rgb(first), Expected(42, 900, 73, 2));
    for (int x : {0, 26, 320, 613}) EXPECT_EQ(first.pixel(x, 100) & 0xFFFFFF, 0u) << x;
    for (int y : {16, 240, 464}) EXPECT_EQ(first.pixel(101, y) & 0xFFFFFF, 0u) << y;

    // The same numbers plotted again give the same picture; another Map Index another one.
    ASSERT_TRUE(d.dialog.rPlotMapClick());
    EXPECT_EQ(d.dialog.Picture(), first);
    d.Find<QSpinBox>("rMapIndex")->setValue(43);
    ASSERT_TRUE(d.dialog.rPlotMapClick());
    EXPECT_NE(d.dialog.Picture(), first);
}

TEST(WorldMapDialog, WaterWorldsAreAllWaterAndDesertsHaveIceCaps) {
    WorldDialog water("75A000", 9);  // water 109, ice below 0
    ASSERT_TRUE(water.dialog.Load(*water.star));
    EXPECT_EQ(water.dialog.WaterPercent(), 109);
    ASSERT_TRUE(water.dialog.rPlotMapClick());
    const QImage sea = water.dialog.Picture();
    QList<QRgb> waterColours;
    for (int i = 1; i <= 15; ++i) waterColours << sea.colorTable()[i];
    EXPECT_EQ(Count(sea, [&](QRgb c) { return waterColours.contains(c); }), MapCellsOffTheGrid());

    WorldDialog desert("750000", 0);  // water 0, ice 10 at each pole
    ASSERT_TRUE(desert.dialog.Load(*desert.star));
    EXPECT_EQ(desert.dialog.IcePercent(), 10);
    ASSERT_TRUE(desert.dialog.rPlotMapClick());
    const QImage dry = desert.dialog.Picture();
    const auto isIce = [](QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= 175; };
    const auto isLand = [&](QRgb c) { return !isIce(c) && (c & 0xFFFFFF) != 0; };
    const int ice = Count(dry, isIce);
    EXPECT_GT(ice, MapCellsOffTheGrid() / 6);
    EXPECT_LT(ice, MapCellsOffTheGrid() / 4);
    EXPECT_EQ(Count(dry, isLand) + ice, MapCellsOffTheGrid());
}

TEST(WorldMapDialog, ABrokenOrMissingLibraryIsReportedAndTheShownPictureStays) {
    QTemporaryDir empty;
    struct Case {
        std::filesystem::path folder;
        QString message;
    };
    const Case cases[] = {
        {std::filesystem::path(empty.path().toStdString()), kUnableToLoad},
        {NoCreateMapFolder(), "error: Orbiscarta.DLL does not provide CreateMap"},
        {FailingFolder(), "info: Error in map generating dll"},
    };
    for (const Case& c : cases) {
        WorldDialog d("757000");
        ASSERT_TRUE(d.dialog.Load(*d.star));
        d.dialog.SetLibraryFolder(c.folder);
        EXPECT_FALSE(d.dialog.rPlotMapClick()) << c.folder;
        EXPECT_TRUE(d.dialog.Picture().isNull());

        ASSERT_TRUE(std::filesystem::exists(worldmap::LibraryPath(c.folder)) || c.message == kUnableToLoad)
            << "the test needs the stand-in library in " << c.folder;
        d.dialog.SetLibraryFolder(LibraryFolder());
        ASSERT_TRUE(d.dialog.rPlotMapClick());
        const QImage shown = d.dialog.Picture();
        d.dialog.SetLibraryFolder(c.folder);
        d.log.clear();
        EXPECT_FALSE(d.dialog.rPlotMapClick());
        EXPECT_EQ(d.log, QStringList({c.message}));
        EXPECT_EQ(d.dialog.Picture(), shown);
    }
}

TEST(WorldMapDialog, PointerPositionReadsAsHoursAndDegreesAndAClickAfterAPlotIsGreedy) {
    WorldDialog d("757000");
    ASSERT_TRUE(d.dialog.Load(*d.star));
    d.Mouse(QEvent::MouseMove, 360, 208);
    EXPECT_EQ(d.Text("rLongitude"), "1h 30' ");
    EXPECT_EQ(d.Text("rLatitude"), "10d 0' ");
    d.Mouse(QEvent::MouseMove, 280, 400);
    EXPECT_EQ(d.Text("rLongitude"), "-1h -30' ");
    EXPECT_EQ(d.Text("rLatitude"), "-50d 0' ");

    d.Mouse(QEvent::MouseButtonPress, 100, 100, Qt::LeftButton);
    EXPECT_TRUE(d.log.isEmpty());
    ASSERT_TRUE(d.dialog.rPlotMapClick());
    d.Mouse(QEvent::MouseButtonPress, 100, 100, Qt::LeftButton);
    EXPECT_EQ(d.log, QStringList({"info: Boy, are you greedy!\r\n\r\nYou shall see something here in the Fullness of Time"}));
}

TEST(WorldMapDialog, SaveWritesAWindowsBitmapThatLoadsBackUnchanged) {
    QTemporaryDir folder;
    WorldDialog d("757000");
    ASSERT_TRUE(d.dialog.Load(*d.star));

    // Nothing to save before a picture is shown.
    d.dialog.rSavePictureClick();
    EXPECT_EQ(d.log.size(), 1);
    EXPECT_TRUE(d.prompter.Proposed.isEmpty());

    ASSERT_TRUE(d.dialog.rPlotMapClick());
    const QImage plotted = d.dialog.Picture();
    const QString file = folder.filePath("map.png");  // a bitmap whatever the extension
    d.prompter.inner.SaveAnswers.push_back(file);
    d.dialog.rSavePictureClick();
    EXPECT_EQ(d.prompter.Proposed, QStringList({"Regina_Alpha.bmp|bmp"}));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.read(2), "BM");
    written.close();

    // Loading it back into a fresh opening shows the same picture and changes no number.
    WorldDialog other("757000");
    other.star->MapIndex = 77;
    ASSERT_TRUE(other.dialog.Load(*other.star));
    other.prompter.inner.OpenAnswers.push_back(file);
    other.dialog.rLoadPictureClick();
    EXPECT_EQ(other.log.size(), 1) << other.log.join('\n').toStdString();  // the chooser only
    EXPECT_EQ(Rgb(other.dialog.Picture()), Rgb(plotted));
    EXPECT_EQ(other.Find<QSpinBox>("rMapIndex")->value(), 77);
    EXPECT_EQ(other.star->MapIndex, 77);

    // A cancelled chooser writes nothing.
    d.prompter.inner.SaveAnswers.push_back(std::nullopt);
    d.dialog.rSavePictureClick();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"map.png"}));
}

TEST(WorldMapDialog, LoadingANonPictureOrAWrongSizeReportsAndKeepsThePicture) {
    QTemporaryDir folder;
    const QString text = folder.filePath("notes.bmp");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture at all");
    }
    const QString small = folder.filePath("small.png");
    ASSERT_TRUE(QImage(320, 240, QImage::Format_RGB32).save(small));
    const QString white = folder.filePath("white.png");
    QImage whiteImage(640, 480, QImage::Format_RGB32);
    whiteImage.fill(Qt::white);
    ASSERT_TRUE(whiteImage.save(white));

    WorldDialog d("757000");
    ASSERT_TRUE(d.dialog.Load(*d.star));
    ASSERT_TRUE(d.dialog.rPlotMapClick());
    const QImage shown = d.dialog.Picture();
    for (const QString& bad : {text, small, folder.filePath("missing.bmp")}) {
        d.log.clear();
        d.prompter.inner.OpenAnswers.push_back(bad);
        d.dialog.rLoadPictureClick();
        ASSERT_EQ(d.log.size(), 2) << bad.toStdString();
        EXPECT_EQ(d.log[1], kMapRoutine) << bad.toStdString();
        EXPECT_EQ(d.dialog.Picture(), shown);
    }

    // Any 640 x 480 picture is shown over the map's palette: white is the lightest ice.
    d.prompter.inner.OpenAnswers.push_back(white);
    d.dialog.rLoadPictureClick();
    const QImage loaded = d.dialog.Picture();
    EXPECT_EQ(loaded.format(), QImage::Format_Indexed8);
    EXPECT_EQ(loaded.pixel(10, 10) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(loaded.pixelIndex(10, 10), 32);
}

TEST(WorldMapDialog, OkStoresTheNumbersAndMarksTheMapChangedWhileCancelStoresNothing) {
    {
        WorldDialog d("757000");
        ASSERT_TRUE(d.dialog.Load(*d.star));
        d.Find<QSpinBox>("rMapIndex")->setValue(1000);
        d.Find<QSpinBox>("rSkewing")->setValue(2500);
        d.Find<QPushButton>("rCancel")->click();
        EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
        EXPECT_EQ(d.star->MapIndex, 0);
        EXPECT_EQ(d.star->Skewing, 0);
        EXPECT_FALSE(d.universe->ManagerRequiresSaving);
    }
    WorldDialog d("757000");
    ASSERT_TRUE(d.dialog.Load(*d.star));
    d.Find<QSpinBox>("rMapIndex")->setValue(1000);
    d.Find<QSpinBox>("rSkewing")->setValue(2500);
    d.Find<QPushButton>("rOK")->click();
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(d.star->MapIndex, 1000);
    EXPECT_EQ(d.star->Skewing, 2500);
    EXPECT_TRUE(d.universe->ManagerRequiresSaving);
}
