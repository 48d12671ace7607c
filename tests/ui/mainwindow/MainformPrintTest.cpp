// The main window's print, print preview and picture export commands, with
// the scope dialog driven as a user drives it.

#include "MainformFixture.h"

#include "MapExport.h"
#include "MapPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = file.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") + bytes.count("/Type /Page>"));
}

// Answers the scope dialog: a scope button, the sector list's entry, the
// pages (fit unless a poster hex size is given) and OK.
void AnswerScope(const QString& title, const char* scope, const QString& sector, int posterHexSize) {
    uitest::WhenShown(title, [=](QDialog& d) {
        uitest::Find<QRadioButton>(d, scope)->setChecked(true);
        if (!sector.isEmpty()) {
            auto* list = uitest::Find<QComboBox>(d, "rSectorList");
            list->setCurrentIndex(list->findText(sector));
        }
        uitest::Find<QRadioButton>(d, posterHexSize ? "rPoster" : "rFitPage")->setChecked(true);
        if (posterHexSize) uitest::Find<QSpinBox>(d, "rHexSize")->setValue(posterHexSize);
        uitest::Find<QPushButton>(d, "rOK")->click();
    });
}

}  // namespace

TEST_F(MainformTest, ExportPictureWritesTheChosenSectorAtTheChosenHexSize) {
    auto u = SmallMap();
    Open(Write(*u, "small.map"));
    const struct {
        const char* file;
        int hexSize;
    } cases[] = {{"gamma.png", 20}, {"gamma30.png", 30}};
    for (const auto& c : cases) {
        AnswerScope("Export Picture", "rScopeSector", "Gamma", c.hexSize);
        prompter.SaveAnswers.push_back(Path(c.file));
        Action("rExportPicture")->trigger();
        const QImage image(Path(c.file));
        const TUniverse& shown = window->Universe();
        const QRect expected = hexlane::render::PixelsOf(*hexlane::render::SectorHexes(shown, "Gamma"), c.hexSize,
                                                         hexlane::render::PictureSizeAt(shown, c.hexSize));
        EXPECT_EQ(image.size(), expected.size()) << c.file;
    }
    EXPECT_TRUE(prompter.AllAnswersUsed());
    EXPECT_FALSE(prompter.Log.join('\n').contains("error"));
}

TEST_F(MainformTest, ExportListsSubsectorsAToPAndKeepsTheChosenOneFromUseToUse) {
    auto u = SmallMap();
    TSector* alpha = u->FindSector("Alpha");
    for (int k = 0; k < 16; ++k)  // letter k sits in column k % 4 and row k / 4
        alpha->SubsectorName(k % 4 + 1, k / 4 + 1) = std::string(1, static_cast<char>('A' + k));
    Open(Write(*u, "lettered.map"));
    QStringList shown;
    const QString remembered = "Alpha: G";
    for (const char* file : {"first.png", "again.png"}) {
        uitest::WhenShown("Export Picture", [&](QDialog& d) {
            auto* list = uitest::Find<QComboBox>(d, "rSubsectorList");
            shown.clear();
            for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
            // The first time G is chosen; the second time it is still chosen.
            if (file == std::string("first.png")) {
                list->setCurrentIndex(list->findText(remembered));
                emit list->activated(list->currentIndex());
            }
            EXPECT_EQ(list->currentText(), remembered);
            EXPECT_FALSE(uitest::Find<QRadioButton>(d, "rFitPage")->isEnabled());
            uitest::Find<QPushButton>(d, "rOK")->click();
        });
        prompter.SaveAnswers.push_back(Path(file));
        Action("rExportPicture")->trigger();
        const TUniverse& map = window->Universe();
        const QRect expected = hexlane::render::PixelsOf(*hexlane::render::SubsectorHexes(map, "Alpha", "G"), 30,
                                                         hexlane::render::PictureSizeAt(map, 30));
        EXPECT_EQ(QImage(Path(file)).size(), expected.size()) << file;
    }
    EXPECT_EQ(shown.mid(0, 16).join(' '), "Alpha: A Alpha: B Alpha: C Alpha: D Alpha: E Alpha: F Alpha: G Alpha: H Alpha: I "
                               "Alpha: J Alpha: K Alpha: L Alpha: M Alpha: N Alpha: O Alpha: P");
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(MainformTest, ExportPictureRefusesAnUnknownFileType) {
    auto u = SmallMap();
    Open(Write(*u, "small.map"));
    // The file is chosen first, so the scope dialog is never shown.
    prompter.SaveAnswers.push_back(Path("map.gif"));
    Action("rExportPicture")->trigger();
    EXPECT_EQ(prompter.Last(), "error: The picture's file name must end in .pdf, .svg or .png.");
    EXPECT_FALSE(QFile::exists(Path("map.gif")));
}

TEST_F(MainformTest, PrintAndPreviewDrawEveryPageOnThePrinter) {
    auto u = SmallMap();
    Open(Write(*u, "small.map"));
    const struct {
        const char* action;
        const char* title;
        std::optional<bool> printerAnswer;  // the printer dialog's, when it is asked
        int posterHexSize;
        bool printed;
        bool manyPages;
    } cases[] = {
        {"rPrint", "Print", false, 0, false, false},
        {"rPrint", "Print", true, 0, true, false},
        {"rPrintPreview", "Print Preview", std::nullopt, 90, true, true},
    };
    for (const auto& c : cases) {
        prompter.PrintFile = Path(std::string(c.action) + std::to_string(c.posterHexSize) + ".pdf");
        AnswerScope(c.title, "rScopeWhole", {}, c.posterHexSize);
        if (c.printerAnswer) prompter.PrinterAnswers.push_back(*c.printerAnswer);
        Action(c.action)->trigger();
        EXPECT_EQ(prompter.Last(), c.printerAnswer ? "printer" : "preview");
        EXPECT_EQ(QFile::exists(prompter.PrintFile), c.printed) << c.action;
        if (c.printed) {
            EXPECT_EQ(PdfPages(prompter.PrintFile) > 1, c.manyPages) << c.action;
        }
    }
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(MainformTest, PrintingWithoutAMapSaysSo) {
    for (const char* action : {"rPrint", "rPrintPreview", "rExportPicture"}) {
        Action(action)->trigger();
        EXPECT_EQ(prompter.Last(), "info: There is no map picture yet: open a map first.") << action;
    }
}
