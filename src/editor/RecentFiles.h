#pragma once

#include <QString>
#include <QStringList>

namespace lanthor {

/// The documents opened or saved last, most recent first, kept in a settings file so that the
/// list outlives the editor.
class RecentFiles {
public:
    static constexpr int kLimit = 10;

    explicit RecentFiles(QString settingsFile);

    QStringList paths() const;
    /// Puts `path` first, dropping an earlier entry for it and the entries past the limit.
    void add(const QString& path);
    void clear();

private:
    void store(const QStringList& paths);

    QString settingsFile_;
};

} // namespace lanthor
