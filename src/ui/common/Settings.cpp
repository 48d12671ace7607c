#include "Settings.h"

#include <QSettings>

#include <memory>

namespace hexlane::ui {

namespace {

std::unique_ptr<QSettings>& Instance() {
    static std::unique_ptr<QSettings> settings;
    return settings;
}

}  // namespace

QSettings& Settings::Store() {
    auto& settings = Instance();
    if (!settings) settings = std::make_unique<QSettings>(QStringLiteral("Hexlane"), QStringLiteral("Hexlane"));
    return *settings;
}

void Settings::UseFile(const QString& iniPath) {
    auto& settings = Instance();
    if (settings) settings->sync();
    if (iniPath.isEmpty())
        settings.reset();
    else
        settings = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

QStringList Settings::RecentFiles() {
    QStringList files = Store().value(QStringLiteral("recentFiles")).toStringList();
    files.removeAll(QString());
    return files.mid(0, kMaxRecentFiles);
}

void Settings::SetRecentFiles(const QStringList& files) {
    Store().setValue(QStringLiteral("recentFiles"), files.mid(0, kMaxRecentFiles));
}

QString Settings::LastFolder(const QString& chooser) {
    return Store().value(QStringLiteral("lastFolder/") + chooser).toString();
}

void Settings::SetLastFolder(const QString& chooser, const QString& folder) {
    Store().setValue(QStringLiteral("lastFolder/") + chooser, folder);
}

int Settings::Zoom() {
    const int size = Store().value(QStringLiteral("map/zoom"), 30).toInt();
    return size == 10 || size == 90 ? size : 30;
}

void Settings::SetZoom(int hexSize) {
    if (hexSize == 10 || hexSize == 30 || hexSize == 90) Store().setValue(QStringLiteral("map/zoom"), hexSize);
}

bool Settings::WheelZooms() { return Store().value(QStringLiteral("map/wheelZooms"), false).toBool(); }

void Settings::SetWheelZooms(bool on) { Store().setValue(QStringLiteral("map/wheelZooms"), on); }

QByteArray Settings::Value(const QString& key) { return Store().value(key).toByteArray(); }

void Settings::SetValue(const QString& key, const QByteArray& value) { Store().setValue(key, value); }

QStringList WithRecentFile(QStringList files, const QString& path) {
    files.removeAll(path);
    files.prepend(path);
    return files.mid(0, kMaxRecentFiles);
}

}  // namespace hexlane::ui
