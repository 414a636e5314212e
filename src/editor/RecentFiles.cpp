#include "RecentFiles.h"

#include <QSettings>

namespace lanthor {

namespace {

const QString kKey = QStringLiteral("recentFiles");

} // namespace

RecentFiles::RecentFiles(QString settingsFile) : settingsFile_(std::move(settingsFile)) {}

QStringList RecentFiles::paths() const {
    return QSettings(settingsFile_, QSettings::IniFormat).value(kKey).toStringList();
}

void RecentFiles::add(const QString& path) {
    QStringList paths = this->paths();
    paths.removeAll(path);
    paths.prepend(path);
    while (paths.size() > kLimit) {
        paths.removeLast();
    }
    store(paths);
}

void RecentFiles::clear() {
    store({});
}

void RecentFiles::store(const QStringList& paths) {
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.setValue(kKey, paths);
}

} // namespace lanthor
