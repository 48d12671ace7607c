#include "ImportSecDialog.h"

#include "AccessKeys.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "ImportSec.h"
#include "MergeErrorsWindow.h"
#include "Prompter.h"
#include "SortedNames.h"
#include "UiText.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>


namespace hexlane::ui {

namespace {

constexpr int kBytesRole = Qt::UserRole;
const QString kNoDescription = QStringLiteral("XX");

// Fills a list with texts sorted without regard to case (equal texts keep
// their map order and all appear); each entry keeps its map bytes.
void FillSorted(QComboBox* list, const std::vector<std::string>& texts) {
    QStringList shown;
    for (const std::string& text : texts) shown.push_back(FromMap(text));
    list->clear();
    for (const int i : SortedOrder(shown)) {
        const std::string& text = texts[static_cast<std::size_t>(i)];
        list->addItem(shown[i], QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    }
}

std::string Bytes(const QComboBox* list) {
    if (list->currentIndex() < 0) return {};
    const QByteArray raw = list->currentData(kBytesRole).toByteArray();
    return std::string(raw.constData(), static_cast<std::size_t>(raw.size()));
}

QLabel* Note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

QString SectorImportFilter() {
    return QStringLiteral("Sector files (*.sec *.tab *.txt *.t5);;All files (*)");
}

TfImportSec::TfImportSec(Prompter& prompter, TfMergeErrors& messages, Activity* activity, QWidget* parent)
    : QDialog(parent), prompter_(prompter), messages_(messages), activity_(activity), folder_(QDir::currentPath()) {
    setObjectName(QStringLiteral("TfImportSec"));
    setWindowTitle(QStringLiteral("Import Sector File"));

    // What is imported, and where to.
    auto* importBox = new QGroupBox(QStringLiteral("Import Information"), this);
    sectors_ = new QComboBox(importBox);
    sectors_->setObjectName(QStringLiteral("rSectorList"));
    sectors_->setMinimumContentsLength(20);
    import_ = new QPushButton(QStringLiteral("Import"), importBox);
    import_->setObjectName(QStringLiteral("rImport"));
    import_->setAutoDefault(false);
    auto* importLayout = new QHBoxLayout(importBox);
    importLayout->addWidget(new QLabel(QStringLiteral("Sector to Import"), importBox));
    importLayout->addWidget(sectors_, 1);
    importLayout->addWidget(import_);

    // What the codes of a sector file stand for; for reference only.
    auto* rulesBox = new QGroupBox(QStringLiteral("Import Codes Rules"), this);
    baseCodes_ = new QComboBox(rulesBox);
    baseCodes_->setObjectName(QStringLiteral("rBaseCode"));
    for (char letter = 'A'; letter <= 'Z'; ++letter) baseCodes_->addItem(QString(QLatin1Char(letter)));
    baseDescription_ = new QLabel(kNoDescription, rulesBox);
    baseDescription_->setObjectName(QStringLiteral("rBaseDescription"));
    allegianceCodes_ = new QComboBox(rulesBox);
    allegianceCodes_->setObjectName(QStringLiteral("rAllegianceCode"));
    allegianceCodes_->setMinimumContentsLength(4);
    allegianceName_ = new QLabel(kNoDescription, rulesBox);
    allegianceName_->setObjectName(QStringLiteral("rAllegianceName"));
    auto* rulesLayout = new QGridLayout(rulesBox);
    rulesLayout->addWidget(new QLabel(QStringLiteral("Base Code"), rulesBox), 0, 0);
    rulesLayout->addWidget(baseCodes_, 0, 1);
    rulesLayout->addWidget(baseDescription_, 0, 2);
    rulesLayout->addWidget(new QLabel(QStringLiteral("Allegaince Code"), rulesBox), 1, 0);
    rulesLayout->addWidget(allegianceCodes_, 1, 1);
    rulesLayout->addWidget(allegianceName_, 1, 2);
    rulesLayout->setColumnStretch(2, 1);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("rClose"));
    close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(importBox);
    layout->addWidget(rulesBox);
    layout->addWidget(Note(QStringLiteral("Sector Filenames should end in sec and should have nothing after the last "
                                          "entry.  The Ruler normally found in sec files should also be present and "
                                          "immediately preceeding the very first entry.  Everything before the Ruler "
                                          "is ignored."),
                           this));
    layout->addWidget(
        Note(QStringLiteral("Non-empty sectors are not listed and thus cannot be imported into to."), this));
    layout->addWidget(Note(QStringLiteral("Use the Import Codes Rules to determine where your Sector File is going to "
                                          "end up and what kind of bases appear."),
                           this));
    layout->addLayout(buttons);
    setFixedSize(460, sizeHint().height());

    connect(import_, &QPushButton::clicked, this, [this] { rImportClick(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(baseCodes_, &QComboBox::currentIndexChanged, this, &TfImportSec::BaseCodeChanged);
    connect(allegianceCodes_, &QComboBox::currentIndexChanged, this, &TfImportSec::AllegianceCodeChanged);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfImportSec::FillSectors() {
    std::vector<std::string> names;
    for (TSector* sector : universe_->Sectors()->ChildrenOf<TSector>())
        if (!sector->HasStars()) names.push_back(sector->Name1);
    FillSorted(sectors_, std::move(names));
    if (sectors_->count() > 0) sectors_->setCurrentIndex(0);
}

void TfImportSec::FillAllegianceCodes() {
    std::vector<std::string> codes;
    for (TAllegiance* allegiance : universe_->Allegiances()->ChildrenOf<TAllegiance>())
        codes.push_back(allegiance->ImportCode);
    {
        // Filling the list selects its first entry; the description follows below.
        const QSignalBlocker block(allegianceCodes_);
        FillSorted(allegianceCodes_, std::move(codes));
        allegianceCodes_->setCurrentIndex(allegianceCodes_->count() > 0 ? 0 : -1);
    }
    AllegianceCodeChanged();
}

void TfImportSec::Load(TUniverse& universe) {
    universe_ = &universe;
    FillSectors();
    FillAllegianceCodes();
    {
        const QSignalBlocker block(baseCodes_);
        baseCodes_->setCurrentIndex(0);
    }
    BaseCodeChanged();
    import_->setEnabled(sectors_->count() > 0);
}

void TfImportSec::Execute(TUniverse& universe) {
    Load(universe);
    exec();
}

void TfImportSec::BaseCodeChanged() {
    const int index = baseCodes_->currentIndex();
    baseDescription_->setText(index < 0 ? kNoDescription
                                        : QString::fromLatin1(BaseCodeDescription(static_cast<char>('A' + index))));
}

void TfImportSec::AllegianceCodeChanged() {
    const TAllegiance* allegiance =
        universe_ && allegianceCodes_->currentIndex() >= 0
            ? universe_->FindAllegianceByImportCode(Bytes(allegianceCodes_))
            : nullptr;
    allegianceName_->setText(allegiance ? FromMap(allegiance->Name1) : kNoDescription);
}

std::string TfImportSec::SelectedSector() const { return Bytes(sectors_); }

bool TfImportSec::rImportClick() {
    if (!universe_) return false;
    // The list may be out of date (emptied by earlier imports): the sector
    // must still be there and hold no systems before a file is asked for.
    const std::string name = SelectedSector();
    bool found = false;
    if (sectors_->currentIndex() >= 0)
        for (TSector* sector : universe_->Sectors()->ChildrenOf<TSector>())
            if (sector->Name1 == name && !sector->HasStars()) found = true;
    if (!found) {
        prompter_.Information(QStringLiteral("Invalid Sector Pointer"));
        return false;
    }

    const auto path = prompter_.OpenFile(FileChoice{QStringLiteral("Import Sector File"),
                                                    SectorImportFilter(), QStringLiteral("sec"),
                                                    QDir(folder_).filePath(FromMap(name) + QStringLiteral(".sec"))});
    if (!path) return false;
    folder_ = QFileInfo(*path).absolutePath();

    messages_.Clear();
    TSectorImportResult result;
    auto import = [&] {
        BusyScope busy(activity_);
        if (activity_) {
            activity_->Progress(0);
            activity_->Status(QStringLiteral("Importing ") + QFileInfo(*path).fileName() + QStringLiteral(" ..."));
        }
        result = ImportSectorFile(*universe_, name, QFile::encodeName(*path).toStdString());
        if (activity_) {
            activity_->Progress(100);
            activity_->Progress(-1);
            activity_->Status(result.Ok() ? QStringLiteral("%1 systems imported").arg(result.StarsImported)
                                          : QString());
        }
    };
    if (runEdit_)
        runEdit_(import);
    else
        import();

    using TStatus = TSectorImportResult::TStatus;
    switch (result.Status) {
    case TStatus::InvalidSector:
    case TStatus::NothingToDo:
        prompter_.Information(FromMap(result.Message));
        break;
    case TStatus::FileError:
        // The reason names the file in the system's own encoding.
        prompter_.Error(QFile::decodeName(QByteArray::fromStdString(result.Message)));
        break;
    case TStatus::Imported:
        // A T5 file may have added allegiances: their codes join the list.
        FillAllegianceCodes();
        messages_.AddLines(result.Lines);
        messages_.ShowIfAny();
        break;
    }
    FillSectors();
    return result.Ok();
}

}  // namespace hexlane::ui
