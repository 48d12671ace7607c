#include "sysedit.h"

#include "AccessKeys.h"

#include "DropDowns.h"

#include "DefineRoute.h"
#include "DefineSector.h"
#include "DefineStar.h"
#include "DefineUniverse.h"
#include "Manager.h"
#include "Prompter.h"
#include "SysEditLists.h"
#include "UiText.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace hexlane::ui {

namespace {

constexpr std::size_t kAncientSite = 17;

// The value stored when no content box is checked.
constexpr std::int32_t kNoContent = 1;

// Role of list items holding the map bytes of a name.
constexpr int kBytesRole = Qt::UserRole;

template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <std::size_t N>
QComboBox* CodeList(const char* name, const char* const (&entries)[N], QWidget* parent) {
    auto* list = Named(new QComboBox(parent), name);
    for (const char* entry : entries) {
        const QString text = QString::fromLatin1(entry);
        list->addItem(text);
        list->setItemData(list->count() - 1, text, Qt::ToolTipRole);
    }
    // Long entries stay readable in the popup while the closed list stays narrow.
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(16);
    WidenDropDownPopup(list);
    // The closed list may cut a long entry; its tip shows the whole text.
    QObject::connect(list, &QComboBox::currentTextChanged, list, &QComboBox::setToolTip);
    list->setToolTip(list->currentText());
    return list;
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = Named(new QPushButton(text, parent), name);
    button->setAutoDefault(false);
    return button;
}

std::string SelectedBytes(const QComboBox* list) {
    const int i = list->currentIndex();
    if (i < 0) return {};
    const QByteArray raw = list->itemData(i, kBytesRole).toByteArray();
    return std::string(raw.constData(), static_cast<std::size_t>(raw.size()));
}

// Fills a list with names sorted without regard to case (ties keep their
// order); each item keeps the name's map bytes. Returns the sorted order.
template <class T>
std::vector<T> FillSorted(QComboBox* list, std::vector<T> items, std::string (*name)(const T&)) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(items.begin(), items.end(), [&](const T& a, const T& b) {
        return collator.compare(FromMap(name(a)), FromMap(name(b))) < 0;
    });
    list->clear();
    for (const T& item : items) {
        const std::string bytes = name(item);
        list->addItem(FromMap(bytes), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    return items;
}

// The index of the entry whose name is `wanted`: an exact match first, else
// one that differs only in case; -1 when none.
int FindName(const QComboBox* list, const std::string& wanted) {
    const QByteArray exact(wanted.data(), static_cast<qsizetype>(wanted.size()));
    for (int i = 0; i < list->count(); ++i)
        if (list->itemData(i, kBytesRole).toByteArray() == exact) return i;
    const QString text = FromMap(wanted);
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

// A memo's text for the map: line breaks as the map files keep them.
QString MemoText(const QPlainTextEdit* memo) {
    QString text = memo->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

QString ShownMemoText(const std::string& bytes) {
    QString text = FromMap(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

// Decimal 1..max, or nothing.
std::optional<int> Coordinate(const QLineEdit* edit, int max) {
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok, 10);
    if (!ok || value < 1 || value > max) return std::nullopt;
    return value;
}

}  // namespace

TfSysEdit::TfSysEdit(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("TfSysEdit"));
    setWindowTitle(QStringLiteral("Star System Editor"));
    BuildControls();
    BuildLayout();

    for (QComboBox* list :
         {size_, atmosphere_, hydrographics_, population_, government_, lawLevel_, techLevel_, starport_, spaceport_})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { RefreshCodes(); });
    for (std::size_t i = 0; i < contents_.size(); ++i)
        connect(contents_[i], &QCheckBox::toggled, this, [this, i] {
            if (i == kAncientSite)
                UpdatePsiButton();
            else
                RefreshCodes();
        });
    connect(visited_, &QCheckBox::toggled, this, [this] { RefreshCodes(); });
    connect(userSurveyed_, &QCheckBox::toggled, this, [this] { RefreshCodes(); });
    connect(psiInstitute_, &QCheckBox::toggled, this, [this] { UpdatePsiButton(); });
    connect(sector_, &QComboBox::currentIndexChanged, this, [this] { FillSubsectors(); });
    connect(map_, &QPushButton::clicked, this, [this] {
        if (star_ && worldMapDialog_) worldMapDialog_(*star_);
    });
    connect(psiInstitutes_, &QPushButton::clicked, this, [this] {
        if (star_ && psiDialog_) psiDialog_(*star_);
    });
    connect(ok_, &QPushButton::clicked, this, [this] { rOKClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { rCancelClick(); });
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfSysEdit::BuildControls() {
    name_ = Named(new QLineEdit(this), "rSystemName");
    upc_ = Named(new QLabel(this), "rUPC");
    QFont codeFont = upc_->font();
    codeFont.setFamily(QStringLiteral("Courier New"));
    codeFont.setStyleHint(QFont::Monospace);
    codeFont.setBold(true);
    codeFont.setPointSizeF(codeFont.pointSizeF() * 1.4);
    upc_->setFont(codeFont);
    upc_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tradeCodes_ = Named(new QLabel(this), "rTradeCodes");

    size_ = CodeList("rSize", kSizes, this);
    atmosphere_ = CodeList("rAtmosphere", kAtmospheres, this);
    hydrographics_ = CodeList("rHydrographics", kHydrographics, this);
    population_ = CodeList("rPopulation", kPopulations, this);
    government_ = CodeList("rGovernment", kGovernments, this);
    lawLevel_ = CodeList("rLawLevel", kLawLevels, this);
    techLevel_ = CodeList("rTechLevel", kTechLevels, this);
    starport_ = CodeList("rStarport", kStarports, this);
    spaceport_ = CodeList("rSpaceport", kSpaceports, this);
    altTLCaption_ = Named(new QLabel(QStringLiteral("Alt TL : "), this), "rAltTLCaption");
    altTL_ = Named(new QLabel(this), "rAltTL");

    for (std::size_t i = 0; i < contents_.size(); ++i)
        contents_[i] = Named(new QCheckBox(QString::fromLatin1(kContents[i].Caption), this), kContents[i].ObjectName);
    psiInstitute_ = Named(new QCheckBox(QStringLiteral("Psi Institute"), this), "rPsiInstitute");

    column_ = Named(new QLineEdit(this), "rColumn");
    row_ = Named(new QLineEdit(this), "rRow");
    for (QLineEdit* edit : {column_, row_}) {
        edit->setMaxLength(6);
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    }
    sector_ = Named(new QComboBox(this), "rSector");
    subsector_ = Named(new QComboBox(this), "rSubsector");
    allegiance_ = Named(new QComboBox(this), "rAllegiance");
    for (QComboBox* list : {sector_, subsector_, allegiance_}) {
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(11);
    }
    capital_ = Named(new QCheckBox(QStringLiteral("Subsector Capital"), this), "rSubsectorCapital");
    travelCode_ = Named(new QComboBox(this), "rTravelCode");
    for (TTravelZoneCode zone : {tzcUnknown, tzcGreen, tzcAmber, tzcRed})
        travelCode_->addItem(QString::fromLatin1(TravelZoneText(zone)));

    notes_ = Named(new QPlainTextEdit(this), "rNotes");
    visited_ = Named(new QCheckBox(QStringLiteral("&Visited"), this), "rVisited");
    userSurveyed_ = Named(new QCheckBox(QStringLiteral("&User Surveyed"), this), "rUserSurveyed");
    sysData_ = Named(new QPlainTextEdit(this), "rSysData");
    for (QPlainTextEdit* memo : {notes_, sysData_}) {
        memo->setTabChangesFocus(true);
        memo->setMinimumHeight(memo->fontMetrics().lineSpacing() * 5);
    }

    map_ = Button(QStringLiteral("Map"), "rMap", this);
    psiInstitutes_ = Button(QStringLiteral("Psi Institutes"), "rPsiInstitutes", this);
    ok_ = Button(QStringLiteral("OK"), "rOK", this);
    ok_->setDefault(true);
    cancel_ = Button(QStringLiteral("Cancel"), "rCancel", this);
}

void TfSysEdit::BuildLayout() {
    auto labelFor = [this](const QString& caption, QWidget* buddy) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(buddy);
        return label;
    };

    // Name, code and trade codes across the top.
    auto* top = new QHBoxLayout;
    top->addWidget(labelFor(QStringLiteral("System Name"), name_));
    name_->setMinimumWidth(name_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
    top->addWidget(name_);
    top->addSpacing(16);
    top->addWidget(upc_);
    top->addSpacing(12);
    top->addWidget(tradeCodes_);
    top->addStretch();

    // The planetary code lists.
    auto* codes = new QGroupBox(this);
    auto* codeForm = new QFormLayout(codes);
    codeForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    codeForm->addRow(labelFor(QStringLiteral("(1) Planet Size"), size_), size_);
    codeForm->addRow(labelFor(QStringLiteral("(2) Atmosphere"), atmosphere_), atmosphere_);
    codeForm->addRow(labelFor(QStringLiteral("(3) Hydrographics"), hydrographics_), hydrographics_);
    codeForm->addRow(labelFor(QStringLiteral("(4) Population"), population_), population_);
    codeForm->addRow(labelFor(QStringLiteral("(5) Government"), government_), government_);
    codeForm->addRow(labelFor(QStringLiteral("(6) Law Level"), lawLevel_), lawLevel_);
    codeForm->addRow(labelFor(QStringLiteral("Star Port"), starport_), starport_);
    codeForm->addRow(labelFor(QStringLiteral("Space Port"), spaceport_), spaceport_);
    codeForm->addRow(labelFor(QStringLiteral("Tech Level"), techLevel_), techLevel_);
    codeForm->addRow(altTLCaption_, altTL_);

    // System contents in three columns, the psionics institute last.
    auto* contents = new QGroupBox(QStringLiteral("System Contents"), this);
    auto* contentGrid = new QGridLayout(contents);
    contentGrid->setVerticalSpacing(2);
    constexpr int kRows = 6;
    for (std::size_t i = 0; i < contents_.size(); ++i)
        contentGrid->addWidget(contents_[i], static_cast<int>(i) % kRows, static_cast<int>(i) / kRows);
    auto* psiRow = new QHBoxLayout;
    psiRow->addWidget(psiInstitute_);
    psiRow->addWidget(psiInstitutes_);
    psiRow->addStretch();
    contentGrid->addLayout(psiRow, kRows, 0, 1, 3);

    // Position, allegiance and travel zone.
    auto* navigation = new QGroupBox(QStringLiteral("Navigation Information"), this);
    auto* navGrid = new QGridLayout(navigation);
    navGrid->addWidget(labelFor(QStringLiteral("&Sector"), sector_), 0, 0);
    navGrid->addWidget(sector_, 0, 1);
    navGrid->addWidget(labelFor(QStringLiteral("Su&bsector"), subsector_), 0, 2);
    navGrid->addWidget(subsector_, 0, 3);
    navGrid->addWidget(labelFor(QStringLiteral("&Column"), column_), 0, 4);
    navGrid->addWidget(column_, 0, 5);
    navGrid->addWidget(labelFor(QStringLiteral("&Row"), row_), 0, 6);
    navGrid->addWidget(row_, 0, 7);
    navGrid->addWidget(labelFor(QStringLiteral("Allegiance"), allegiance_), 1, 0);
    navGrid->addWidget(allegiance_, 1, 1);
    navGrid->addWidget(labelFor(QStringLiteral("Travel Code"), travelCode_), 1, 2);
    navGrid->addWidget(travelCode_, 1, 3);
    navGrid->addWidget(capital_, 1, 4, 1, 4);
    navGrid->setColumnStretch(1, 1);
    navGrid->setColumnStretch(3, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(contents);
    right->addWidget(navigation);
    right->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(codes, 2);
    middle->addLayout(right, 3);

    // The user's own notes and flags beside the system data.
    auto* user = new QGroupBox(QStringLiteral("User Information"), this);
    auto* userGrid = new QGridLayout(user);
    QLabel* notesLabel = labelFor(QStringLiteral("System Notes"), notes_);
    userGrid->addWidget(notesLabel, 0, 0, 1, 2);
    userGrid->addWidget(notes_, 1, 0, 1, 2);
    userGrid->addWidget(visited_, 2, 0);
    userGrid->addWidget(userSurveyed_, 2, 1);
    userGrid->setColumnStretch(1, 1);

    // The system data memo lines up with the notes memo beside it: the same
    // rows above and below it, left empty.
    auto* data = new QGroupBox(QStringLiteral("System Data"), this);
    auto* dataGrid = new QGridLayout(data);
    dataGrid->addWidget(sysData_, 1, 0);
    // Empty rows get no spacing of their own, so theirs is counted in.
    const int spacing = std::max(0, userGrid->verticalSpacing());
    dataGrid->setRowMinimumHeight(0, notesLabel->sizeHint().height() + spacing);
    dataGrid->setRowMinimumHeight(2, visited_->sizeHint().height() + spacing);

    auto* lower = new QHBoxLayout;
    lower->addWidget(user, 1);
    lower->addWidget(data, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(map_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    // Tab through the controls in the order they are laid out.
    std::vector<QWidget*> order = {name_, size_, atmosphere_, hydrographics_, population_, government_,
                                   lawLevel_, starport_, spaceport_, techLevel_};
    for (std::size_t r = 0; r < kRows; ++r)  // the contents grid row by row
        for (std::size_t i = r; i < contents_.size(); i += kRows) order.push_back(contents_[i]);
    for (QWidget* w : std::initializer_list<QWidget*>{psiInstitute_, psiInstitutes_, sector_, subsector_, column_,
                                                      row_, allegiance_, travelCode_, capital_, notes_, visited_,
                                                      userSurveyed_, sysData_, map_, ok_, cancel_})
        order.push_back(w);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addLayout(lower, 1);
    layout->addLayout(buttons);
}

void TfSysEdit::Load(TUniverse& universe, TStar* star) {
    universe_ = &universe;
    star_ = star;
    result_ = nullptr;
    if (!star) return;
    loading_ = true;

    saved_ = {star->MapIndex,     star->Skewing,      star->UAP,         star->ComPsiRating,
              star->EduPsiRating, star->GovPsiRating, star->SecPsiRating};

    altTLCaption_->setVisible(universe.UseAltTL);
    altTL_->setVisible(universe.UseAltTL);

    // Sector and allegiance lists; the sector entry is the record's own owner.
    std::vector<TSector*> sectors;
    if (TSectors* all = universe.Sectors()) sectors = all->ChildrenOf<TSector>();
    // Filling the list selects its first entry, which fills the subsectors
    // from `sectors_`: the sectors of the last opening may be gone by now
    // (deleted, or replaced by another map or an undo).
    sectors_.clear();
    sectors_ = FillSorted<TSector*>(sector_, sectors, [](TSector* const& s) { return s->Name1; });
    std::vector<TAllegiance*> allegiances;
    if (TAllegiances* all = universe.Allegiances()) allegiances = all->ChildrenOf<TAllegiance>();
    FillSorted<TAllegiance*>(allegiance_, allegiances, [](TAllegiance* const& a) { return a->Name1; });
    int allegianceIndex = FindName(allegiance_, star->Allegiance);
    if (allegianceIndex < 0 && !star->Allegiance.empty()) {
        // An allegiance that the list does not hold (an import's "Unknown", one
        // deleted since) is the system's own all the same: shown as an extra
        // entry after the sorted ones, so OK keeps it unless the user picks another.
        const std::string& bytes = star->Allegiance;
        allegiance_->addItem(FromMap(bytes), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        allegianceIndex = allegiance_->count() - 1;
    }
    allegiance_->setCurrentIndex(allegianceIndex);
    int sectorIndex = -1;
    for (std::size_t i = 0; i < sectors_.size(); ++i)
        if (sectors_[i] == star->Owner()) sectorIndex = static_cast<int>(i);
    if (sectorIndex < 0 && star->Owner()) sectorIndex = FindName(sector_, star->Owner()->Name1);
    sector_->setCurrentIndex(sectorIndex);

    loadedName_ = star->Name1;
    loadedNotes_ = star->Notes;
    loadedSysData_ = star->SysData;
    shownName_ = FromMap(loadedName_);
    shownNotes_ = ShownMemoText(loadedNotes_);
    shownSysData_ = ShownMemoText(loadedSysData_);
    name_->setText(shownName_);
    notes_->setPlainText(shownNotes_);
    sysData_->setPlainText(shownSysData_);
    psiInstitute_->setChecked(star->PsiInstitute);
    visited_->setChecked(star->Visited);
    userSurveyed_->setChecked(star->UserSurveyed);
    capital_->setChecked(star->SubsectorCapital);
    for (std::size_t i = 0; i < contents_.size(); ++i)
        contents_[i]->setChecked((star->SystemContent & kContents[i].Bit) != 0);

    size_->setCurrentIndex(star->PSIndex());
    atmosphere_->setCurrentIndex(star->AtIndex());
    hydrographics_->setCurrentIndex(star->HydroIndex());
    population_->setCurrentIndex(star->PopIndex());
    government_->setCurrentIndex(star->GovIndex());
    lawLevel_->setCurrentIndex(star->LLIndex());
    starport_->setCurrentIndex(star->SPIndex());
    spaceport_->setCurrentIndex(star->SpPIndex());
    // The list shows the stored code, not its alternate value.
    int tlIndex;
    if (TUniverse* owner = star->Universe()) {
        const bool useAlt = owner->UseAltTL;
        owner->UseAltTL = false;
        tlIndex = star->TLIndex();
        owner->UseAltTL = useAlt;
    } else {
        tlIndex = star->TLIndex();
    }
    techLevel_->setCurrentIndex(tlIndex);
    altTL_->setText(FromMap(universe.TechLevelText(tlIndex)));

    upc_->setText(FromMap(star->UPC));
    column_->setText(QString::number(star->StarCoordsX));
    row_->setText(QString::number(star->StarCoordsY));
    FillSubsectors();

    const int zone = static_cast<int>(star->TravelZoneCode);
    travelCode_->setCurrentIndex(zone < travelCode_->count() ? zone : -1);
    tradeCodes_->setText(TradeCodes(AssembledCode()));
    UpdatePsiButton();
    loading_ = false;
}

void TfSysEdit::FillSubsectors() {
    subsector_->clear();
    TSector* sector = SelectedSector();
    if (!sector) return;
    std::vector<std::string> names(sector->SSName.begin(), sector->SSName.end());
    FillSorted<std::string>(subsector_, names, [](const std::string& s) { return s; });
    if (!star_) return;
    const QByteArray wanted(star_->SubSectorName.data(), static_cast<qsizetype>(star_->SubSectorName.size()));
    for (int i = 0; i < subsector_->count(); ++i)
        if (subsector_->itemData(i, kBytesRole).toByteArray() == wanted) {
            subsector_->setCurrentIndex(i);
            return;
        }
    subsector_->setCurrentIndex(-1);
}

TSector* TfSysEdit::SelectedSector() const {
    const int i = sector_->currentIndex();
    return i >= 0 && static_cast<std::size_t>(i) < sectors_.size() ? sectors_[static_cast<std::size_t>(i)] : nullptr;
}

QString TfSysEdit::AssembledCode() const {
    return QString::fromStdString(SizeCodeText(size_->currentIndex()) + HexCodeText(atmosphere_->currentIndex()) +
                                  HexCodeText(hydrographics_->currentIndex()) +
                                  HexCodeText(population_->currentIndex()) +
                                  HexCodeText(government_->currentIndex()) + HexCodeText(lawLevel_->currentIndex()));
}

QString TfSysEdit::TradeCodes(const QString& code) {
    auto value = [&code](int i, bool size) {
        const QChar c = i < code.size() ? code[i] : QChar();
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return c.unicode() - '0';
        if (size) return c == QLatin1Char('A') ? 10 : 1;
        return 10;
    };
    const int s = value(0, true), a = value(1, false), h = value(2, false), p = value(3, false),
              g = value(4, false);
    QString out;
    auto add = [&out](bool holds, const char* text) {
        if (holds) out += QLatin1String(text) + QLatin1Char(' ');
    };
    add(a >= 4 && a <= 9 && h >= 4 && h <= 8 && p >= 5 && p <= 7, "Ag");
    add(a <= 3 && h <= 3 && p >= 6, "NAg");
    add((a == 0 || a == 1 || a == 2 || a == 4 || a == 7 || a == 9) && p >= 9, "Ind");
    add(p <= 6, "NI");
    add((a == 6 || a == 8) && g >= 4 && g <= 9 && p >= 6 && p <= 8, "Rich");
    add(a >= 2 && a <= 5 && h <= 3, "Poor");
    add(a == 0, "V");
    add(s == 0, "AB");
    add(a <= 1 && h >= 1, "IC");
    add(h == 0 && a >= 2, "D");
    add(h == 10, "W");
    return out;
}

void TfSysEdit::RefreshCodes() {
    if (loading_ || !universe_) return;
    const QString code = AssembledCode();
    upc_->setText(code);
    tradeCodes_->setText(TradeCodes(code));
    altTL_->setText(FromMap(universe_->TechLevelText(techLevel_->currentIndex())));
}

void TfSysEdit::UpdatePsiButton() { psiInstitutes_->setEnabled(psiInstitute_->isChecked()); }

bool TfSysEdit::rOKClick() {
    if (!star_ || !universe_) return false;
    const std::string oldName = star_->Name1;

    const std::optional<int> column = Coordinate(column_, 8);
    if (!column) {
        prompter_.Information(QStringLiteral("Enter a valid integer between 1 and 8"));
        column_->setFocus();
        return false;
    }
    const std::optional<int> row = Coordinate(row_, 10);
    if (!row) {
        prompter_.Information(QStringLiteral("Enter a valid integer between 1 and 10"));
        row_->setFocus();
        return false;
    }
    TSector* sector = SelectedSector();
    if (!sector) {
        prompter_.Information(QStringLiteral("Select a Sector"));
        sector_->setFocus();
        return false;
    }
    if (subsector_->currentIndex() < 0) {
        prompter_.Information(QStringLiteral("Select a Subsector"));
        subsector_->setFocus();
        return false;
    }
    const std::string subsector = SelectedBytes(subsector_);
    for (TStar* other : sector->Stars()) {
        if (other != star_ && other->SubSectorName == subsector && other->StarCoordsX == *column &&
            other->StarCoordsY == *row) {
            prompter_.Information(QStringLiteral("A system already exits in that location.\nSelect another."));
            return false;
        }
    }

    // Texts the map cannot hold are refused rather than changed; untouched
    // texts go back exactly as they were read.
    struct Text {
        QWidget* Control;
        bool Unchanged;
        QString Typed;
        const std::string& Loaded;
        std::string Bytes;
    };
    Text texts[] = {
        {name_, name_->text() == shownName_, name_->text(), loadedName_, {}},
        {notes_, notes_->toPlainText() == shownNotes_, MemoText(notes_), loadedNotes_, {}},
        {sysData_, sysData_->toPlainText() == shownSysData_, MemoText(sysData_), loadedSysData_, {}},
    };
    for (Text& text : texts) {
        if (text.Unchanged) {
            text.Bytes = text.Loaded;
            continue;
        }
        std::optional<std::string> bytes = ToMap(text.Typed);
        if (!bytes) {
            prompter_.Error(NotStorableMessage());
            text.Control->setFocus();
            return false;
        }
        text.Bytes = std::move(*bytes);
    }

    // Move the record into the chosen sector as a copy; fields written below
    // replace the copied ones, everything else carries over.
    auto* moved = As<TStar>(CloneObject(sector, *star_));
    if (!moved) {
        prompter_.Error(QStringLiteral("The system could not be copied into the sector."));
        return false;
    }
    TManager::Destroy(star_);
    star_ = nullptr;

    moved->Visible = true;
    moved->Name1 = texts[0].Bytes;
    if (allegiance_->currentIndex() >= 0) moved->Allegiance = SelectedBytes(allegiance_);
    moved->SubSectorName = subsector;
    moved->StarCoordsX = *column;
    moved->StarCoordsY = *row;
    moved->UPC = AssembledCode().toStdString();
    moved->Starport = StarportCodeText(starport_->currentIndex());
    moved->Spaceport = SpaceportCodeText(spaceport_->currentIndex());
    moved->SetTechLevel(HexCodeText(techLevel_->currentIndex()));
    std::int32_t content = 0;
    for (std::size_t i = 0; i < contents_.size(); ++i)
        if (contents_[i]->isChecked()) content |= kContents[i].Bit;
    moved->SystemContent = content != 0 ? content : kNoContent;
    moved->SubsectorCapital = capital_->isChecked();
    moved->Visited = visited_->isChecked();
    moved->UserSurveyed = userSurveyed_->isChecked();
    moved->PsiInstitute = psiInstitute_->isChecked();
    if (travelCode_->currentIndex() >= 0) moved->TravelZoneCode = static_cast<TTravelZoneCode>(travelCode_->currentIndex());

    if (moved->Name1 != oldName)
        if (TRoutes* routes = universe_->Routes())
            for (TRoute* route : routes->ChildrenOf<TRoute>())
                for (TRouteLeg* leg : route->Legs()) {
                    if (leg->SStarName == oldName) leg->SStarName = moved->Name1;
                    if (leg->EStarName == oldName) leg->EStarName = moved->Name1;
                }

    moved->Notes = texts[1].Bytes;
    moved->SysData = texts[2].Bytes;

    MarkChanged(*universe_);
    universe_->MapDirty = true;
    result_ = moved;
    accept();
    return true;
}

void TfSysEdit::RestoreSubDialogFields() {
    if (!star_) return;
    star_->MapIndex = saved_.MapIndex;
    star_->Skewing = saved_.Skewing;
    star_->UAP = saved_.UAP;
    star_->ComPsiRating = saved_.ComPsiRating;
    star_->EduPsiRating = saved_.EduPsiRating;
    star_->GovPsiRating = saved_.GovPsiRating;
    star_->SecPsiRating = saved_.SecPsiRating;
}

void TfSysEdit::rCancelClick() { reject(); }

void TfSysEdit::reject() {
    RestoreSubDialogFields();
    QDialog::reject();
}

int TfSysEdit::EditStar(TUniverse& universe, TStar* star) {
    if (!star) return -1;
    Load(universe, star);
    return exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace hexlane::ui
