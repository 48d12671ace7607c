#pragma once
// The editor's own images from the resource file: toolbar icons looked up by
// their buttons' hint texts, the navigator tree's icons, the application
// icon and the map's target cross-hair cursor. One place maps names to
// images, so the windows never spell resource paths.

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace hexlane::ui {

// The hint texts that have a toolbar icon, in toolbar order.
const QStringList& ToolbarHints();
// The icon of the toolbar button with this hint text; a null icon for an
// unknown hint.
QIcon ToolbarIcon(const QString& hint);

// Icons of the navigator tree.
enum TreeIconIndex { tiOpenFolder = 0, tiClosedFolder = 1, tiPage = 2 };
// 0 an open folder, 1 a closed folder, 2 a page of text; a null icon otherwise.
QIcon TreeIcon(int index);

// The application icon in every size it is drawn in.
QIcon AppIcon();
// The emblem as a picture of the given size (the nearest drawn size scaled).
QPixmap Emblem(int pixels);

// The target cross-hair shown over the map picture (hot spot in its middle).
// Loaded from the resources once.
QCursor MapCursor();

}  // namespace hexlane::ui
