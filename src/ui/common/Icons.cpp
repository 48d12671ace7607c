#include "Icons.h"

#include <QHash>

#include <array>
#include <utility>

// The images are compiled into the ui library, a static library: register
// them by hand, or the linker may leave them out.
static void RegisterHexlaneResources() {
    Q_INIT_RESOURCE(hexlane);
}

namespace hexlane::ui {

namespace {

void EnsureResources() {
    static const bool registered = (RegisterHexlaneResources(), true);
    (void)registered;
}

// Hint text and the image's base name under :/toolbar/.
const std::array<std::pair<const char*, const char*>, 25> kToolbar{{
    {"Open Map", "open-map"},
    {"Save Map", "save-map"},
    {"Undo", "undo"},
    {"Redo", "redo"},
    {"Print Preview", "print-preview"},
    {"Selected Save", "selected-save"},
    {"Save Bitmap", "save-bitmap"},
    {"Merge Maps", "merge-maps"},
    {"Overlay Maps", "overlay-maps"},
    {"Import Sector File", "import-sector-file"},
    {"Toggle all System Information", "toggle-all"},
    {"Toggle Allegiance Colors", "toggle-allegiance-colors"},
    {"Toggle Comm/Trade Routes", "toggle-routes"},
    {"Toggle System Contents", "toggle-system-contents"},
    {"Toggle Starports", "toggle-starports"},
    {"Toggle System Names", "toggle-system-names"},
    {"Toggle Sector Lines", "toggle-sector-lines"},
    {"Toggle Subsector Lines", "toggle-subsector-lines"},
    {"Toggle Polity Borders", "toggle-borders"},
    {"Refresh Image", "refresh-image"},
    {"Zoom Out", "zoom-out"},
    {"Zoom In", "zoom-in"},
    {"Edit Sectors/Subsectors", "edit-sectors"},
    {"Query", "query"},
    {"Navigation Information", "navigation"},
}};

const std::array<const char*, 3> kTree{{"open-folder", "closed-folder", "page"}};

const std::array<int, 6> kEmblemSizes{{16, 32, 48, 64, 128, 256}};

// An icon from a base image and its double-size variant.
QIcon TwoSizeIcon(const QString& base) {
    EnsureResources();
    QIcon icon;
    icon.addFile(base + QStringLiteral(".png"));
    icon.addFile(base + QStringLiteral("@2x.png"));
    return icon;
}

}  // namespace

const QStringList& ToolbarHints() {
    static const QStringList hints = [] {
        QStringList list;
        for (const auto& [hint, file] : kToolbar) list << QString::fromLatin1(hint);
        return list;
    }();
    return hints;
}

QIcon ToolbarIcon(const QString& hint) {
    for (const auto& [h, file] : kToolbar)
        if (hint == QLatin1String(h)) return TwoSizeIcon(QStringLiteral(":/toolbar/") + QLatin1String(file));
    return {};
}

QIcon TreeIcon(int index) {
    if (index < 0 || index >= static_cast<int>(kTree.size())) return {};
    // The tree asks for an icon per node, thousands on a large map: each is
    // read once (kept for the program's life; QIcon copies are shared).
    static auto* icons = new std::array<QIcon, 3>();
    QIcon& icon = (*icons)[static_cast<std::size_t>(index)];
    if (icon.isNull())
        icon = TwoSizeIcon(QStringLiteral(":/tree/") + QLatin1String(kTree[static_cast<std::size_t>(index)]));
    return icon;
}

QIcon AppIcon() {
    EnsureResources();
    QIcon icon;
    for (int size : kEmblemSizes) icon.addFile(QStringLiteral(":/app/hexlane-%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap Emblem(int pixels) {
    EnsureResources();
    int best = kEmblemSizes.back();
    for (int size : kEmblemSizes)
        if (size >= pixels) {
            best = size;
            break;
        }
    QPixmap pixmap(QStringLiteral(":/app/hexlane-%1.png").arg(best));
    if (pixmap.isNull() || best == pixels) return pixmap;
    return pixmap.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QCursor MapCursor() {
    // The hot spot is the cross-hair's middle pixel. Kept for the program's
    // lifetime: a pixmap must not outlive the application object.
    EnsureResources();
    static const QCursor* cursor = new QCursor(QPixmap(QStringLiteral(":/targetxhair.png")), 16, 16);
    return *cursor;
}

}  // namespace hexlane::ui
