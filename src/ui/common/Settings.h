#pragma once
// Settings: what the editor remembers between runs (window geometry and
// toolbar state, the system list's columns, the last folder of each file
// chooser, the recently used maps, the zoom, the wheel option, the print and
// export choices), kept in one QSettings store. Never the map's own data:
// a map file is the whole map.
// Tests point the store at a temporary file with UseFile().

#include <QByteArray>
#include <QString>
#include <QStringList>

class QSettings;

namespace hexlane::ui {

class Settings {
public:
    // The one store: the user's own unless UseFile() named another.
    static QSettings& Store();
    // Keeps the settings in this INI file from now on (empty: the user's store).
    static void UseFile(const QString& iniPath);

    // Most recently used first; never more than kMaxRecentFiles.
    static QStringList RecentFiles();
    static void SetRecentFiles(const QStringList& files);

    // Folder a file chooser with this title showed last; empty before the first use.
    static QString LastFolder(const QString& chooser);
    static void SetLastFolder(const QString& chooser, const QString& folder);

    // Hex size a map opens with (10, 30 or 90); 30 when none was kept.
    static int Zoom();
    static void SetZoom(int hexSize);

    // Whether the wheel alone zooms the map (otherwise only with Ctrl).
    static bool WheelZooms();
    static void SetWheelZooms(bool on);

    static QByteArray Value(const QString& key);
    static void SetValue(const QString& key, const QByteArray& value);
};

inline constexpr int kMaxRecentFiles = 10;

// `files` with `path` put first, once, cut to kMaxRecentFiles.
QStringList WithRecentFile(QStringList files, const QString& path);

}  // namespace hexlane::ui
