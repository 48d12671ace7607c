// The file dialogs: the sector file import dialog with the message window,
// the merge and overlay commands, and the selected save. What each shows when
// opened, the messages in their order, what reaches the universe, and that a
// refused or cancelled command leaves it as it was.

#include "DialogTesting.h"
#include "Activity.h"
#include "CombineMaps.h"
#include "ImportESPDialog.h"
#include "ImportSec.h"
#include "ImportSecDialog.h"
#include "MergeErrors.h"
#include "MergeErrorsWindow.h"
#include "ScriptedPrompter.h"
#include "SelectedSaveDialog.h"
#include "TestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace hexlane::ui;
using namespace uitest;

namespace {

QStringList Entries(const QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}

// Runs `call` and fails (closing the window) if it opens a modal window.
void WithoutModal(const std::function<void()>& call) {
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = true;
            dialog->reject();
        }
    });
    call();
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened) << "a modal window was shown";
}

// The message window's text as it was shown.
QString ShownMessages(QDialog& window) { return Find<QPlainTextEdit>(window, "rMessages")->toPlainText(); }

// The scripted prompter, keeping the file choosers' settings as well.
class ChoicePrompter final : public Prompter {
public:
    ScriptedPrompter Script;
    std::vector<FileChoice> Choices;

    void Information(const QString& text) override { Script.Information(text); }
    void Error(const QString& text) override { Script.Error(text); }
    bool YesNo(const QString& text, Look look) override { return Script.YesNo(text, look); }
    Answer YesNoCancel(const QString& text) override { return Script.YesNoCancel(text); }
    std::optional<QString> Input(const QString& t, const QString& p, const QString& d) override {
        return Script.Input(t, p, d);
    }
    std::optional<QString> OpenFile(const FileChoice& choice) override {
        Choices.push_back(choice);
        return Script.OpenFile(choice);
    }
    std::optional<QString> SaveFile(const FileChoice& choice) override {
        Choices.push_back(choice);
        return Script.SaveFile(choice);
    }
    std::optional<QColor> Colour(const QColor& initial, const QString& title) override {
        return Script.Colour(initial, title);
    }
};

// Counts the busy cursor's turns; the depth must come back to 0.
class CountingActivity final : public Activity {
public:
    int Depth = 0, Turns = 0;
    void BeginBusy() override {
        ++Depth;
        ++Turns;
    }
    void EndBusy() override { --Depth; }
    void Progress(int) override {}
    void Status(const QString&) override {}
};

void WriteFile(const QString& path, const std::string& text) {
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    out << text;
}

// A sector file line in its fixed columns (A788899-C, gas giants, allegiance
// code in columns 56-57, stellar data from column 59).
std::string SystemLine(const std::string& name, const std::string& hex) {
    std::string line = name;
    line.resize(14, ' ');
    return line + hex + " A788899-C   " + std::string(17, ' ') + "A  103 Im G2 V";
}

const std::string kRuler(kSectorFileRuler);

void SaveMap(TUniverse& universe, const QString& path, double version = kMapFormatVersion) {
    universe.ManagerVersion = version;
    std::string message;
    ASSERT_TRUE(universe.SaveToFile(QFile::encodeName(path).toStdString(), message)) << message;
}

// ---------------------------------------------------------------- import

struct ImportFixture {
    QTemporaryDir dir;
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    ChoicePrompter prompter;
    CountingActivity activity;
    TfMergeErrors messages;
    TfImportSec dialog{prompter, messages, &activity};
    int refreshes = 0;
    QComboBox* sectors = Find<QComboBox>(dialog, "rSectorList");
    QPushButton* import = Find<QPushButton>(dialog, "rImport");

    ImportFixture() {
        dialog.SetFolder(dir.path());
        // Counts the imports that changed the map.
        dialog.SetRunEdit([this](const std::function<void()>& run) {
            const bool before = universe->ManagerRequiresSaving;
            run();
            if (!before && universe->ManagerRequiresSaving) ++refreshes;
        });
    }
    QString File(const QString& name, const std::string& text) {
        const QString path = dir.filePath(name);
        WriteFile(path, text);
        return path;
    }
};

TEST(ImportSectorFile, OpensOnTheEmptySectorsAndDescribesTheSelectedCodes) {
    ImportFixture f;
    for (const char* name : {"Zeta", "alpha", "Core", "Beta"}) testutil::AddSector(*f.universe, name, 1, 1);
    testutil::AddStar(*f.universe->FindSector("Core"), "Regina", 1, 1);
    for (auto [name, code] : {std::pair{"Imperium", "Im"}, {"Zhodani", "Zh"}, {"Aslan", "As"}, {"Rebels", "Im"}}) {
        TAllegiance* a = f.universe->Allegiances()->Create<TAllegiance>();
        a->Name1 = name;
        a->ImportCode = code;
    }
    f.dialog.Load(*f.universe);

    EXPECT_EQ(f.dialog.windowTitle(), "Import Sector File");
    EXPECT_EQ(Entries(f.sectors), QStringList({"alpha", "Beta", "Zeta"}));
    EXPECT_EQ(f.sectors->currentText(), "alpha");
    EXPECT_TRUE(f.import->isEnabled());
    auto* base = Find<QComboBox>(f.dialog, "rBaseCode");
    auto* baseText = Find<QLabel>(f.dialog, "rBaseDescription");
    auto* codes = Find<QComboBox>(f.dialog, "rAllegianceCode");
    auto* codeText = Find<QLabel>(f.dialog, "rAllegianceName");
    EXPECT_EQ(base->count(), 26);
    EXPECT_EQ(base->currentText(), "A");
    EXPECT_EQ(baseText->text(), "Naval Base AND Scout Base");
    EXPECT_EQ(Entries(codes), QStringList({"As", "Im", "Im", "Zh"}));
    EXPECT_EQ(codeText->text(), "Aslan");

    // The description follows the selection; a code two allegiances share
    // names the first of them. G is described as undefined.
    base->setCurrentText("G");
    EXPECT_EQ(baseText->text(), "Not Defined");
    codes->setCurrentIndex(2);
    EXPECT_EQ(codeText->text(), "Imperium");

    // A map without empty sectors or allegiances: nothing to pick, nothing to describe.
    auto full = TUniverse::CreateNew();
    testutil::AddStar(*testutil::AddSector(*full, "Core", 1, 1), "Regina", 1, 1);
    f.dialog.Load(*full);
    EXPECT_EQ(f.sectors->count(), 0);
    EXPECT_FALSE(f.import->isEnabled());
    EXPECT_EQ(codes->count(), 0);
    EXPECT_EQ(codeText->text(), "XX");
    EXPECT_EQ(base->currentText(), "A");
}

TEST(ImportSectorFile, ReadsTheChosenFileIntoTheSelectedSectorAndListsTheBadLines) {
    ImportFixture f;
    TSector* alpha = testutil::AddSector(*f.universe, "Alpha", 1, 1);
    testutil::AddSector(*f.universe, "Beta", 2, 1);
    TAllegiance* imperium = f.universe->Allegiances()->Create<TAllegiance>();
    imperium->Name1 = "Imperium";
    imperium->ImportCode = "Im";
    const QString path = f.File("survey.sec", "Alpha sector\n" + kRuler + "\n" + SystemLine("Nova", "0940") +
                                                  "\nshort line\n" + SystemLine("Nova", "3240") + "\n\n");
    f.prompter.Script.OpenAnswers.push_back(path);
    f.dialog.Load(*f.universe);

    QString shown;
    WhenModal("Errors/Messages", [&](QDialog& window) {
        EXPECT_EQ(f.refreshes, 1) << "the views are refreshed before the window shows";
        EXPECT_EQ(f.activity.Depth, 0) << "the busy cursor is gone";
        shown = ShownMessages(window);
        window.reject();
    });
    EXPECT_TRUE(f.dialog.rImportClick());

    ASSERT_EQ(f.prompter.Choices.size(), 1u);
    EXPECT_EQ(f.prompter.Choices[0].InitialPath, QDir(f.dir.path()).filePath("Alpha.sec"));
    EXPECT_EQ(f.prompter.Choices[0].Filter, "Sector files (*.sec *.tab *.txt *.t5);;All files (*)");
    EXPECT_EQ(shown, "Error at Line 4 Incomplete Data\nNova at Line 5 renamed Nova (2)\nError at Line 6 Incomplete Data");

    // The lines themselves are the import's business; here: they reach the selected sector.
    const std::vector<TStar*> stars = alpha->Stars();
    ASSERT_EQ(stars.size(), 2u);
    EXPECT_EQ(stars[0]->Name1, "Nova");
    EXPECT_EQ(stars[0]->Allegiance, "Imperium");
    EXPECT_EQ(stars[1]->Name1, "Nova (2)");
    EXPECT_TRUE(f.universe->ManagerRequiresSaving);
    EXPECT_TRUE(f.universe->MapDirty);
    EXPECT_GT(f.activity.Turns, 0);
    EXPECT_EQ(f.activity.Depth, 0);

    // The filled sector leaves the list; the next chooser starts in the
    // folder of the file just read.
    EXPECT_EQ(Entries(f.sectors), QStringList({"Beta"}));
    f.prompter.Script.OpenAnswers.push_back(std::nullopt);
    f.dialog.rImportClick();
    EXPECT_EQ(f.prompter.Choices.back().InitialPath, QDir(f.dir.path()).filePath("Beta.sec"));
    EXPECT_TRUE(f.prompter.Script.AllAnswersUsed());
}

TEST(ImportSectorFile, AT5FileWhateverItsNameAddsItsNewAllegiancesToTheCodeList) {
    ImportFixture f;
    TSector* alpha = testutil::AddSector(*f.universe, "Alpha", 1, 1);
    f.prompter.Script.OpenAnswers.push_back(
        f.File("survey.sec", "Hex\tName\tUWP\tAllegiance\n0101\tNova\tA788899-C\tNwCo\n"));
    f.dialog.Load(*f.universe);
    auto* codes = Find<QComboBox>(f.dialog, "rAllegianceCode");
    EXPECT_EQ(codes->count(), 0);

    QString shown;
    WhenModal("Errors/Messages", [&](QDialog& window) {
        shown = ShownMessages(window);
        window.reject();
    });
    EXPECT_TRUE(f.dialog.rImportClick());
    EXPECT_EQ(shown, "Allegiance NwCo added");
    ASSERT_EQ(alpha->Stars().size(), 1u);
    EXPECT_EQ(alpha->Stars()[0]->Allegiance, "NwCo");
    EXPECT_EQ(Entries(codes), QStringList({"NwCo"}));
    EXPECT_EQ(Find<QLabel>(f.dialog, "rAllegianceName")->text(), "NwCo");
}

TEST(ImportSectorFile, AFileWithNothingToImportOrNoFileLeavesTheUniverseAsItWas) {
    ImportFixture f;
    testutil::AddSector(*f.universe, "Alpha", 1, 1);
    f.dialog.Load(*f.universe);
    const QString noRuler = f.File("a.sec", SystemLine("Nova", "0101") + "\n");
    const QString rulerLast = f.File("b.sec", "header\n" + kRuler + "\n");
    f.prompter.Script.OpenAnswers = {noRuler, rulerLast, std::nullopt, f.dir.filePath("missing.sec")};

    WithoutModal([&] {
        for (int i = 0; i < 4; ++i) EXPECT_FALSE(f.dialog.rImportClick());
    });
    ASSERT_EQ(f.prompter.Script.Log.size(), 7);
    EXPECT_EQ(f.prompter.Script.Log[1], "info: Nothing to do.");
    EXPECT_EQ(f.prompter.Script.Log[3], "info: Nothing to do.");
    EXPECT_EQ(f.prompter.Script.Log[4], "open: Sector files (*.sec *.tab *.txt *.t5);;All files (*)") << "a cancelled choice says nothing";
    EXPECT_TRUE(f.prompter.Script.Log[6].startsWith("error: Cannot open " + f.dir.filePath("missing.sec")))
        << f.prompter.Script.Log[6].toStdString();
    EXPECT_FALSE(f.universe->FindSector("Alpha")->HasStars());
    EXPECT_FALSE(f.universe->ManagerRequiresSaving);
    EXPECT_FALSE(f.universe->MapDirty);
    EXPECT_EQ(f.refreshes, 0);
    EXPECT_EQ(f.activity.Depth, 0);
    EXPECT_EQ(Entries(f.sectors), QStringList({"Alpha"}));
}

TEST(ImportSectorFile, AfterTheLastEmptySectorImportStaysEnabledAndRefuses) {
    ImportFixture f;
    testutil::AddSector(*f.universe, "Alpha", 1, 1);
    f.dialog.Load(*f.universe);
    f.prompter.Script.OpenAnswers.push_back(f.File("a.sec", kRuler + "\n" + SystemLine("", "0101")));

    // A clean file: no message window.
    WithoutModal([&] { EXPECT_TRUE(f.dialog.rImportClick()); });
    ASSERT_NE(f.universe->FindStar("Star788899"), nullptr) << "a blank name is made from the planetary code";
    EXPECT_EQ(f.sectors->count(), 0);
    EXPECT_TRUE(f.import->isEnabled());

    f.prompter.Script.Log.clear();
    f.import->click();
    EXPECT_EQ(f.prompter.Script.Log, QStringList({"info: Invalid Sector Pointer"})) << "no file is asked for";
}

TEST(MessageWindow, ShowsOnlyWhenItHoldsLinesAndClearsForTheNextUse) {
    TfMergeErrors window;
    EXPECT_EQ(window.windowTitle(), "Errors/Messages");
    WithoutModal([&] { EXPECT_FALSE(window.ShowIfAny()); });
    window.AddLines({"Star : Caf\xE9"});
    window.AddLine("Sector : Alpha");
    QString shown;
    WhenModal("Errors/Messages", [&](QDialog& w) {
        shown = ShownMessages(w);
        Find<QPushButton>(w, "rClose")->click();
    });
    EXPECT_TRUE(window.ShowIfAny());
    EXPECT_EQ(shown, QString::fromUtf8("Star : Café\nSector : Alpha"));

    window.Clear();
    WhenModal("Errors/Messages", [&](QDialog& w) {
        shown = ShownMessages(w);
        w.reject();
    });
    window.ShowModal();
    EXPECT_EQ(shown, "");
}

// ---------------------------------------------------------------- merge and overlay

struct CombineFixture {
    QTemporaryDir dir;
    std::unique_ptr<TUniverse> memory = TUniverse::CreateNew();
    ChoicePrompter prompter;
    CountingActivity activity;
    TfMergeErrors messages;
    int refreshes = 0;

    CombineFixture() {
        TSector* alpha = testutil::AddSector(*memory, "Alpha", 1, 1);
        testutil::AddStar(*alpha, "Nova", 1, 1, "788899");
        testutil::AddStar(*alpha, "Alpha", 2, 1);  // a star named like the sector
    }
    // A second map: sector Alpha with Nova (other values) and Vega.
    QString SecondMap(double version = kMapFormatVersion) {
        auto second = TUniverse::CreateNew();
        TSector* alpha = testutil::AddSector(*second, "Alpha", 1, 1);
        testutil::AddStar(*alpha, "Nova", 1, 1, "555555");
        testutil::AddStar(*alpha, "Vega", 3, 1);
        const QString path = dir.filePath(QString("second%1.map").arg(version));
        SaveMap(*second, path, version);
        return path;
    }
    bool Run(CombineKind kind) {
        return CombineMaps(kind, *memory, prompter, messages, &activity, "/maps/home.map", [this] { ++refreshes; });
    }
    std::vector<std::string> StarNames() const {
        std::vector<std::string> names;
        memory->ForEachStar([&](TStar& s) { names.push_back(s.Name1 + " " + s.UPC); });
        return names;
    }
};

TEST(MergeOverlay, AnsweringNoChangesNothing) {
    for (CombineKind kind : {CombineKind::Merge, CombineKind::Overlay}) {
        CombineFixture f;
        f.prompter.Script.YesNoAnswers.push_back(false);
        WithoutModal([&] { EXPECT_FALSE(f.Run(kind)); });
        EXPECT_EQ(f.prompter.Script.Log, QStringList({"yesno: " + CombineQuestion(kind)}));
        EXPECT_FALSE(f.memory->ManagerRequiresSaving);
        EXPECT_EQ(f.refreshes, 0);
    }
}

TEST(MergeOverlay, OverlayReplacesTheDuplicateStarAndListsIt) {
    CombineFixture f;
    f.prompter.Script.YesNoAnswers.push_back(true);
    f.prompter.Script.OpenAnswers.push_back(f.SecondMap());
    QStringList shown;
    WhenModal("Errors/Messages", [&](QDialog& window) {
        EXPECT_EQ(f.refreshes, 1) << "the views let go of replaced stars before anything is shown";
        shown = ShownMessages(window).split('\n');
        window.reject();
    });
    EXPECT_TRUE(f.Run(CombineKind::Overlay));

    EXPECT_EQ(f.prompter.Choices.at(0).Filter, "Map File (*.map)");
    EXPECT_EQ(f.prompter.Choices.at(0).InitialPath, "/maps");  // the folder, no file proposed
    EXPECT_TRUE(shown.contains("Star : Nova")) << shown.join('|').toStdString();
    EXPECT_FALSE(shown.contains("Star : Alpha"));
    EXPECT_EQ(f.StarNames(), (std::vector<std::string>{"Alpha 788899", "Nova 555555", "Vega 788899"}));
    EXPECT_TRUE(f.memory->FindStar("Vega")->Visible);
    EXPECT_TRUE(f.memory->ManagerRequiresSaving);
    EXPECT_TRUE(f.memory->MapDirty);
    EXPECT_EQ(f.activity.Depth, 0);
    EXPECT_GT(f.activity.Turns, 0);
}

TEST(MergeOverlay, ChoosingTheMapInMemoryItselfChangesNothing) {
    for (CombineKind kind : {CombineKind::Merge, CombineKind::Overlay}) {
        CombineFixture f;
        const QString own = f.SecondMap();
        const QFileInfo info(own);
        f.prompter.Script.YesNoAnswers.push_back(true);
        f.prompter.Script.OpenAnswers.push_back(info.absolutePath() + "/./" + info.fileName());
        WithoutModal([&] {
            EXPECT_FALSE(CombineMaps(kind, *f.memory, f.prompter, f.messages, &f.activity, own, [&] { ++f.refreshes; }));
        });
        EXPECT_EQ(f.prompter.Script.Log.back(), "info: This is the map in memory.");
        EXPECT_EQ(f.StarNames().size(), 2u);
        EXPECT_FALSE(f.memory->ManagerRequiresSaving);
        EXPECT_EQ(f.refreshes, 0);
    }
}

TEST(MergeOverlay, MergeKeepsTheStarInMemoryAndListsTheDuplicate) {
    CombineFixture f;
    f.prompter.Script.YesNoAnswers.push_back(true);
    f.prompter.Script.OpenAnswers.push_back(f.SecondMap());
    QStringList shown;
    WhenModal("Errors/Messages", [&](QDialog& window) {
        shown = ShownMessages(window).split('\n');
        window.reject();
    });
    EXPECT_TRUE(f.Run(CombineKind::Merge));
    EXPECT_TRUE(shown.contains("Star : Nova")) << shown.join('|').toStdString();
    std::vector<std::string> names = f.StarNames();
    EXPECT_EQ(names, (std::vector<std::string>{"Nova 788899", "Alpha 788899", "Vega 788899"}));
    EXPECT_TRUE(f.memory->ManagerRequiresSaving);
}

TEST(MergeOverlay, MergeRefusesAnOldMapThatOverlayTakes) {
    CombineFixture f;
    const QString old = f.SecondMap(4.0);
    f.prompter.Script.YesNoAnswers = {true, true};
    f.prompter.Script.OpenAnswers = {old, old};
    WithoutModal([&] { EXPECT_FALSE(f.Run(CombineKind::Merge)); });
    EXPECT_EQ(f.prompter.Script.Log.back(),
              "info: This map must first be opened and then re-saved so the latest format is available.");
    EXPECT_EQ(f.StarNames(), (std::vector<std::string>{"Nova 788899", "Alpha 788899"}));
    EXPECT_FALSE(f.memory->ManagerRequiresSaving);
    EXPECT_EQ(f.refreshes, 0);

    WhenModal("Errors/Messages", [](QDialog& window) { window.reject(); });
    EXPECT_TRUE(f.Run(CombineKind::Overlay));
    EXPECT_NE(f.memory->FindStar("Vega"), nullptr);
    EXPECT_EQ(f.activity.Depth, 0);
}

TEST(MergeOverlay, ACancelledChoiceOrAnUnreadableFileShowsTheWindowAndMarksTheMapChanged) {
    for (CombineKind kind : {CombineKind::Merge, CombineKind::Overlay}) {
        CombineFixture f;
        const QString junk = f.dir.filePath("junk.map");
        WriteFile(junk, "not a map at all");
        f.prompter.Script.YesNoAnswers = {true, true};
        f.prompter.Script.OpenAnswers = {std::nullopt, junk};
        QString shown = "unset";
        WhenModal("Errors/Messages", [&](QDialog& window) {
            shown = ShownMessages(window);
            window.reject();
        });
        EXPECT_TRUE(f.Run(kind));
        EXPECT_EQ(shown, "");
        EXPECT_TRUE(f.memory->ManagerRequiresSaving);
        EXPECT_EQ(f.refreshes, 1);

        f.memory->ManagerRequiresSaving = false;
        WhenModal("Errors/Messages", [](QDialog& window) { window.reject(); });
        EXPECT_TRUE(f.Run(kind));
        EXPECT_TRUE(f.prompter.Script.Log.back().startsWith("error: ")) << f.prompter.Script.Log.back().toStdString();
        EXPECT_TRUE(f.memory->ManagerRequiresSaving);
        EXPECT_EQ(f.StarNames().size(), 2u);
    }
}

// ---------------------------------------------------------------- selected save

struct SaveFixture {
    ChoicePrompter prompter;
    CountingActivity activity;
    TfSelectedSave dialog{prompter, &activity};

    QCheckBox* Box(const char* name) { return Find<QCheckBox>(dialog, name); }
    QString States() {
        QString out;
        for (const char* name : {"rSectorInformation", "rSectorVisible", "rStars", "rStarVisible", "rStarVisited",
                                 "rStarMapped", "rStarUserSurveyed", "rAllegiances", "rRoutes", "rRouteVisible",
                                 "rRouteUserDefined"}) {
            QCheckBox* box = Box(name);
            out += !box->isEnabled() ? (box->isChecked() ? 'X' : '-') : (box->isChecked() ? 'x' : 'o');
        }
        return out;  // x checked, o unchecked, - disabled (X: disabled yet checked, never wanted)
    }
};

TEST(SelectedSave, OpensAllCheckedAndEachGroupGovernsItsOptions) {
    SaveFixture f;
    EXPECT_EQ(f.dialog.windowTitle(), "Selected Save");
    EXPECT_EQ(f.States(), "xxxxxxxxxxx");
    // The captions as the user reads them (the dialog adds access keys).
    EXPECT_EQ(f.Box("rAllegiances")->text().remove('&'), "Allegiances (if used by a saved star then saved anyway)");
    EXPECT_EQ(f.Box("rStarMapped")->text().remove('&'), "Mapped World");

    f.Box("rStars")->setChecked(false);
    EXPECT_EQ(f.States(), "xxo----xxxx");
    f.Box("rStars")->setChecked(true);
    EXPECT_EQ(f.States(), "xxxooooxxxx") << "checking a group again does not check its options";

    f.Box("rStarVisited")->setChecked(true);
    f.Box("rSectorInformation")->setChecked(false);
    EXPECT_EQ(f.States(), "o------xxxx");
    f.Box("rSectorInformation")->setChecked(true);
    EXPECT_EQ(f.States(), "xoo----xxxx") << "the star filters wait for Stars";

    f.Box("rRoutes")->setChecked(false);
    EXPECT_EQ(f.States(), "xoo----xo--");
    f.Box("rRoutes")->setChecked(true);
    EXPECT_EQ(f.States(), "xoo----xxoo");
    const TSelectedSaveOptions o = f.dialog.Options();
    EXPECT_TRUE(o.SectorInformation && o.Allegiances && o.Routes);
    EXPECT_FALSE(o.Stars || o.StarVisited || o.RouteVisible || o.RouteUserDefined);
}

TEST(SelectedSave, WritesTheChosenPartAndLeavesTheMapAsItWas) {
    QTemporaryDir dir;
    auto universe = TUniverse::CreateNew();
    TSector* shown = testutil::AddSector(*universe, "Shown", 1, 1);
    TSector* hidden = testutil::AddSector(*universe, "Hidden", 2, 1);
    TStar* mapped = testutil::AddStar(*shown, "Mapped", 1, 1);
    mapped->MapIndex = 3;
    mapped->Allegiance = "Imperium";
    testutil::AddStar(*shown, "Plain", 2, 1)->Allegiance = "Zhodani";
    testutil::AddStar(*hidden, "Away", 1, 1)->MapIndex = 4;
    hidden->SetExcludeFromDisplay(true);
    for (const char* name : {"Zhodani", "Imperium", "Unused"})
        universe->Allegiances()->Create<TAllegiance>()->Name1 = name;
    universe->TLAltDesc[3] = "Steam";
    ASSERT_FALSE(universe->ManagerRequiresSaving);

    SaveFixture f;
    const QString path = dir.filePath("part.map");
    f.prompter.Script.SaveAnswers.push_back(path);
    WhenModal("Selected Save", [](QDialog& d) {
        for (const char* name : {"rStarVisible", "rStarVisited", "rStarUserSurveyed", "rAllegiances"})
            Find<QCheckBox>(d, name)->setChecked(false);
        Find<QPushButton>(d, "rOK")->click();
    });
    EXPECT_TRUE(f.dialog.SaveSelected(*universe, dir.path()));
    ASSERT_EQ(f.prompter.Choices.size(), 1u);
    EXPECT_EQ(f.prompter.Choices[0].InitialPath, dir.path()) << "a folder is proposed, never the map's own file";
    EXPECT_EQ(f.prompter.Choices[0].Filter, "Map File (*.map)");

    TUniverse written;
    std::string message;
    ASSERT_TRUE(written.LoadFromFile(QFile::encodeName(path).toStdString(), message)) << message;
    std::vector<std::string> stars, sectors, allegiances;
    written.ForEachStar([&](TStar& s) { stars.push_back(s.Name1); });
    for (TSector* s : written.Sectors()->ChildrenOf<TSector>()) sectors.push_back(s->Name1);
    for (TAllegiance* a : written.Allegiances()->ChildrenOf<TAllegiance>()) allegiances.push_back(a->Name1);
    EXPECT_EQ(stars, std::vector<std::string>{"Mapped"});
    EXPECT_EQ(sectors, std::vector<std::string>{"Shown"});
    EXPECT_EQ(allegiances, std::vector<std::string>{"Imperium"});
    EXPECT_EQ(written.TLAltDesc[3], "Steam");
    EXPECT_FALSE(universe->ManagerRequiresSaving);
    EXPECT_EQ(universe->Sectors()->ChildCount(), 2u);
    EXPECT_EQ(f.activity.Depth, 0);

    // The boxes stay as they were left for the next use.
    WhenModal("Selected Save", [](QDialog& d) {
        EXPECT_FALSE(Find<QCheckBox>(d, "rStarVisible")->isChecked());
        EXPECT_TRUE(Find<QCheckBox>(d, "rStarMapped")->isChecked());
        Find<QPushButton>(d, "rCancel")->click();
    });
    EXPECT_FALSE(f.dialog.Execute().has_value());
}

TEST(SelectedSave, CancellingWritesNothingAndAFailedWriteIsShown) {
    QTemporaryDir dir;
    auto universe = TUniverse::CreateNew();
    SaveFixture f;
    WhenModal("Selected Save", [](QDialog& d) { d.reject(); });
    EXPECT_FALSE(f.dialog.SaveSelected(*universe, dir.path()));
    EXPECT_TRUE(f.prompter.Script.Log.isEmpty()) << "no file is asked for";

    f.prompter.Script.SaveAnswers = {std::nullopt, dir.filePath("no/such/folder/part.map")};
    for (int i = 0; i < 2; ++i) {
        WhenModal("Selected Save", [](QDialog& d) { Find<QPushButton>(d, "rOK")->click(); });
        EXPECT_FALSE(f.dialog.SaveSelected(*universe, dir.path()));
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    ASSERT_EQ(f.prompter.Script.Log.size(), 3);
    EXPECT_TRUE(f.prompter.Script.Log[2].startsWith("error: ")) << f.prompter.Script.Log[2].toStdString();
    EXPECT_EQ(f.activity.Depth, 0);
}

// ---------------------------------------------------------------- ESP import

TEST(ImportESP, OnlyAChosenFileEnablesImportWhichChangesNothing) {
    ChoicePrompter prompter;
    TfImportESP dialog(prompter);
    EXPECT_EQ(dialog.windowTitle(), "Import ESP File");
    auto* import = Find<QPushButton>(dialog, "rImport");
    auto* name = Find<QLineEdit>(dialog, "rImportFilename");
    EXPECT_FALSE(import->isEnabled());
    EXPECT_EQ(Find<QComboBox>(dialog, "rIntoSector")->count(), 0);
    EXPECT_EQ(Find<QLabel>(dialog, "rRecords")->text(), "Number of Records : ");

    prompter.Script.OpenAnswers = {std::nullopt, QString("/maps/rim.esp")};
    Find<QPushButton>(dialog, "rBrowse")->click();  // cancelled
    EXPECT_EQ(name->text(), "");
    EXPECT_FALSE(import->isEnabled());
    Find<QPushButton>(dialog, "rBrowse")->click();
    EXPECT_EQ(prompter.Choices.at(1).Filter, "Extended System Profile Files (*.esp)");
    EXPECT_EQ(name->text(), "/maps/rim.esp");
    EXPECT_TRUE(import->isEnabled());
    import->click();
    EXPECT_EQ(prompter.Script.Log.size(), 2);  // the two choosers, nothing else
}

}  // namespace
