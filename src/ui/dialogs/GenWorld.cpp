#include "GenWorld.h"

#include "AccessKeys.h"

#include "Prompter.h"
#include "UiText.h"

#include "DefineStar.h"
#include "DefineUniverse.h"
#include "DialogParts.h"
#include "worldmap/WorldMapInfo.h"
#include "worldmap/WorldMapLoader.h"

#include <QCursor>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstring>
#include <exception>
#include <random>
#include <unordered_map>

namespace hexlane::ui {

using worldmap::kMapHeight;
using worldmap::kMapWidth;

// The 640 x 480 map picture: reports the pixel under the pointer and clicks.
class WorldMapView final : public QWidget {
public:
    explicit WorldMapView(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("rPicture"));
        setFixedSize(kMapWidth, kMapHeight);
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
    }

    std::function<void(int, int)> Moved;
    std::function<void()> Clicked;
    QImage Image;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (Image.isNull())
            painter.fillRect(rect(), palette().color(QPalette::Dark));
        else
            painter.drawImage(0, 0, Image);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (Moved && rect().contains(p)) Moved(p.x(), p.y());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && Clicked) Clicked();
    }
};

namespace {

constexpr int kHourLines = 24;      // hour labels -12 ... +12 at the vertical grid lines and the right edge
constexpr int kLatitudeLines = 15;  // latitude labels +7 (top) ... -7 at the horizontal grid lines

QString SignedLabel(int value) { return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value); }

// The picture framed by its hour labels along the top and latitude labels
// down the left side, each at its grid line.
class MapFrame final : public QWidget {
public:
    MapFrame(WorldMapView* view, QWidget* parent) : QWidget(parent), view_(view) {
        setObjectName(QStringLiteral("rMapFrame"));
        // A smaller type keeps the hour labels apart at 26 or 27 pixels a line.
        QFont small = font();
        if (small.pointSizeF() > 0) small.setPointSizeF(small.pointSizeF() * 0.85);
        setFont(small);
        const QFontMetrics metrics(font());
        left_ = metrics.horizontalAdvance(QStringLiteral("+7")) + 8;
        top_ = metrics.height() + 4;
        right_ = metrics.horizontalAdvance(QStringLiteral("+12")) / 2 + 2;
        view_->setParent(this);
        view_->move(left_, top_);
        setFixedSize(left_ + kMapWidth + right_, top_ + kMapHeight + 2);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics metrics(font());
        const std::vector<int> columns = worldmap::GridColumns(kMapWidth);
        for (int i = 0; i <= kHourLines; ++i) {
            const int x = left_ + (i < kHourLines ? columns[static_cast<std::size_t>(i)] : kMapWidth);
            const QString text = SignedLabel(i - kHourLines / 2);
            const int w = metrics.horizontalAdvance(text);
            painter.drawText(QRect(x - w, 0, 2 * w, top_ - 2), Qt::AlignHCenter | Qt::AlignBottom, text);
        }
        const std::vector<int> rows = worldmap::GridRows(kMapHeight);
        for (int i = 0; i < kLatitudeLines; ++i) {
            const int y = top_ + rows[static_cast<std::size_t>(i)];
            const QString text = SignedLabel(kLatitudeLines / 2 - i);
            painter.drawText(QRect(0, y - metrics.height(), left_ - 4, 2 * metrics.height()),
                             Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }

private:
    WorldMapView* view_;
    int left_ = 0, top_ = 0, right_ = 0;
};

// The wait cursor while a map is computed.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { End(); }
    void End() {
        if (active_) QGuiApplication::restoreOverrideCursor();
        active_ = false;
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool active_ = true;
};

const QString kPictureFilter = QStringLiteral(
    "All (*.bmp *.ico *.emf *.wmf);;Bitmaps (*.bmp);;Icons (*.ico);;Enhanced Metafiles (*.emf);;Metafiles (*.wmf)");

std::filesystem::path FsPath(const QString& path) {
#if defined(_WIN32)
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QImage ToImage(const worldmap::WorldPicture& picture) {
    QImage image(picture.Width, picture.Height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const worldmap::Rgb& c : worldmap::DisplayPalette()) table << qRgb(c.R, c.G, c.B);
    image.setColorTable(table);
    for (int y = 0; y < picture.Height; ++y)
        std::memcpy(image.scanLine(y), picture.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.Width),
                    static_cast<std::size_t>(picture.Width));
    return image;
}

// A read picture over the display palette: every pixel takes the nearest colour.
worldmap::WorldPicture FromImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    worldmap::WorldPicture picture;
    picture.Width = image.width();
    picture.Height = image.height();
    picture.Pixels.resize(static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height));
    std::unordered_map<QRgb, std::uint8_t> known;
    for (int y = 0; y < picture.Height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < picture.Width; ++x) {
            const QRgb rgb = line[x] & 0xFFFFFF;
            auto found = known.find(rgb);
            if (found == known.end()) {
                const std::int32_t cell = qRed(rgb) + qGreen(rgb) * 256 + qBlue(rgb) * 65536;
                found = known.emplace(rgb, worldmap::PaletteIndexOf(cell)).first;
            }
            picture.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.Width) + static_cast<std::size_t>(x)] =
                found->second;
        }
    }
    return picture;
}

int RealDie(int sides) {
    static std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<int>(1, std::max(sides, 1))(engine);
}

QLabel* MakeReadOut(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

TfGenWorld::TfGenWorld(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Generate World Map"));

    mapIndex_ = new QSpinBox(this);
    mapIndex_->setObjectName(QStringLiteral("rMapIndex"));
    mapIndex_->setRange(1, 32767);
    mapIndex_->setSingleStep(5);
    mapIndex_->setValue(1);
    skewing_ = new QSpinBox(this);
    skewing_->setObjectName(QStringLiteral("rSkewing"));
    skewing_->setRange(500, 32767);
    skewing_->setSingleStep(5);
    skewing_->setValue(500);

    width_ = MakeReadOut(QStringLiteral("Width"), "rWidth", this);
    height_ = MakeReadOut(QStringLiteral("Height"), "rHeight", this);
    longitude_ = MakeReadOut(QStringLiteral("###"), "rLongitude", this);
    latitude_ = MakeReadOut(QStringLiteral("###"), "rLatitude", this);
    // The read-outs keep their width while the pointer moves.
    const int readOutWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("-12h -60' ")) + 8;
    longitude_->setMinimumWidth(readOutWidth);
    latitude_->setMinimumWidth(readOutWidth);

    view_ = new WorldMapView(this);
    view_->Moved = [this](int x, int y) { PointerMoved(x, y); };
    view_->Clicked = [this] { PictureClicked(); };
    auto* frame = new MapFrame(view_, this);

    auto* plot = MakeButton(QStringLiteral("Plot Map"), "rPlotMap", this);
    auto* save = MakeButton(QStringLiteral("Save Picture"), "rSavePicture", this);
    auto* load = MakeButton(QStringLiteral("Load Picture"), "rLoadPicture", this);
    auto* ok = MakeButton(QStringLiteral("OK"), "rOK", this);
    auto* cancel = MakeButton(QStringLiteral("Cancel"), "rCancel", this);
    ok->setDefault(true);
    connect(plot, &QPushButton::clicked, this, [this] { rPlotMapClick(); });
    connect(save, &QPushButton::clicked, this, [this] { rSavePictureClick(); });
    connect(load, &QPushButton::clicked, this, [this] { rLoadPictureClick(); });
    connect(ok, &QPushButton::clicked, this, [this] { rOKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* parameters = new QHBoxLayout;
    auto* numbers = new QFormLayout;
    numbers->addRow(QStringLiteral("Map Index (1-32767)"), mapIndex_);
    numbers->addRow(QStringLiteral("Skewing (500-32767)"), skewing_);
    auto* size = new QVBoxLayout;
    size->addWidget(width_);
    size->addWidget(height_);
    parameters->addLayout(numbers);
    parameters->addSpacing(24);
    parameters->addLayout(size);
    parameters->addStretch();

    auto* pointer = new QHBoxLayout;
    pointer->addWidget(new QLabel(QStringLiteral("Longitude"), this));
    pointer->addWidget(longitude_);
    pointer->addSpacing(12);
    pointer->addWidget(new QLabel(QStringLiteral("Latitude"), this));
    pointer->addWidget(latitude_);
    pointer->addStretch();
    pointer->addWidget(plot);
    pointer->addWidget(save);
    pointer->addWidget(load);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(parameters);
    layout->addWidget(frame, 0, Qt::AlignHCenter);
    layout->addLayout(pointer);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

TfGenWorld::~TfGenWorld() = default;

void TfGenWorld::SetLibraryFolder(std::filesystem::path folder) { libraryFolder_ = std::move(folder); }

void TfGenWorld::SetDice(Dice dice) { dice_ = std::move(dice); }

bool TfGenWorld::Load(TStar& star) {
    star_ = &star;
    const int digit = (dice_ ? dice_(10) : RealDie(10)) - 1;
    waterPercent_ = worldmap::WaterPercent(star.HydroIndex(), digit);
    icePercent_ = worldmap::IcePercent(waterPercent_);
    const worldmap::WorldDiameter diameter = worldmap::DiameterForSize(star.PSIndex());
    if (!diameter.Message.empty()) prompter_.Information(QString::fromStdString(diameter.Message));
    if (!diameter.Mappable) return false;
    diameter_ = diameter.Miles;
    width_->setText(QString::fromStdString(worldmap::WidthText(diameter_)));
    height_->setText(QString::fromStdString(worldmap::HeightText(diameter_)));
    // Spin boxes hold values within their ranges: a new system's 0 shows as 1 and 500.
    mapIndex_->setValue(star.MapIndex);
    skewing_->setValue(star.Skewing);
    longitude_->setText(QStringLiteral("###"));
    latitude_->setText(QStringLiteral("###"));
    picture_ = {};
    view_->Image = QImage();
    view_->update();
    plotted_ = false;
    return true;
}

bool TfGenWorld::rPlotMapClick() {
    BusyCursor busy;
    worldmap::MapRequest request;
    request.Seed = mapIndex_->value();
    request.FaultCount = skewing_->value();
    request.Width = kMapWidth;
    request.Height = kMapHeight;
    request.WaterPercent = waterPercent_;
    request.IcePercent = icePercent_;
    const worldmap::PlotResult result =
        libraryFolder_ ? worldmap::PlotWorld(request, *libraryFolder_) : worldmap::PlotWorld(request);

    bool drawn = false;
    QString error, notice;
    if (result.Plotted()) {
        try {
            worldmap::WorldPicture picture = worldmap::PictureFromCells(result.Cells, kMapWidth, kMapHeight);
            worldmap::DrawGrid(picture);
            ShowPicture(std::move(picture));
            drawn = true;
        } catch (const std::exception&) {
            notice = QString::fromLatin1(worldmap::kMapRoutineError);
        }
    } else if (result.Status == worldmap::PlotStatus::GeneratorFailed) {
        notice = QString::fromStdString(result.Error);
    } else {
        error = QString::fromStdString(result.Error);
    }
    plotted_ = true;
    busy.End();
    if (!error.isEmpty()) prompter_.Error(error);
    if (!notice.isEmpty()) prompter_.Information(notice);
    // The pointer goes to the centre of a new map (not while the dialog is hidden).
    if (drawn && view_->isVisible()) QCursor::setPos(view_->mapToGlobal(QPoint(kMapWidth / 2, kMapHeight / 2)));
    return drawn;
}

void TfGenWorld::rSavePictureClick() {
    if (picture_.Pixels.empty()) {
        prompter_.Information(QStringLiteral("There is no world map to save yet: plot or load one first."));
        return;
    }
    const QString proposed = star_ ? FromMap(worldmap::ProposedPictureName(star_->Name1)) : QString();
    const auto path = prompter_.SaveFile(FileChoice{QStringLiteral("Save Picture"), kPictureFilter,
                                                    QStringLiteral("bmp"), proposed});
    if (!path) return;
    // Always a Windows bitmap, whatever extension was typed.
    if (!worldmap::SaveBitmap(FsPath(*path), picture_))
        prompter_.Error(QStringLiteral("Unable to save the picture to %1").arg(*path));
}

void TfGenWorld::rLoadPictureClick() {
    const QString proposed = star_ ? FromMap(worldmap::ProposedPictureName(star_->Name1)) : QString();
    const auto path = prompter_.OpenFile(FileChoice{QStringLiteral("Load Picture"), kPictureFilter,
                                                    QStringLiteral("bmp"), proposed});
    if (!path) return;
    const QSize expected(kMapWidth, kMapHeight);
    QImageReader reader(*path);
    // A picture of another size is refused before it is decoded.
    const QSize announced = reader.size();
    QImage image;
    if (!announced.isValid() || announced == expected) image = reader.read();
    if (image.isNull() || image.size() != expected) {
        prompter_.Information(QString::fromLatin1(worldmap::kMapRoutineError));
        return;
    }
    ShowPicture(FromImage(image));
}

bool TfGenWorld::rOKClick() {
    if (!star_) return false;
    star_->MapIndex = mapIndex_->value();
    star_->Skewing = skewing_->value();
    if (TUniverse* universe = star_->Universe()) MarkChanged(*universe);
    accept();
    return true;
}

int TfGenWorld::Execute(TStar& star) {
    if (!Load(star)) return 0;
    return exec() == QDialog::Accepted ? 1 : 0;
}

QImage TfGenWorld::Picture() const { return view_->Image; }

void TfGenWorld::ShowPicture(worldmap::WorldPicture picture) {
    picture_ = std::move(picture);
    view_->Image = ToImage(picture_);
    view_->update();
}

void TfGenWorld::PointerMoved(int x, int y) {
    longitude_->setText(QString::fromStdString(worldmap::LongitudeText(x)));
    latitude_->setText(QString::fromStdString(worldmap::LatitudeText(y)));
}

void TfGenWorld::PictureClicked() {
    if (plotted_) prompter_.Information(QString::fromLatin1(worldmap::kGreedyMessage));
}

}  // namespace hexlane::ui
