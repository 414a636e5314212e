#include "RecoveryStore.h"

#include "base/AtomicFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <signal.h>

namespace lanthor {

namespace {

constexpr const char* kProcessField = "process=";
constexpr const char* kDocumentField = "document=";

bool processIsRunning(qint64 process) {
    if (process <= 0) {
        return false;
    }
    // Signal 0 only checks that the process exists; EPERM means it does, under another user.
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

RecoveryStore::RecoveryStore(QString directory) : directory_(std::move(directory)) {}

QString RecoveryStore::keyForDocument(const QString& documentPath) {
    return QString::fromLatin1(
        QCryptographicHash::hash(documentPath.toUtf8(), QCryptographicHash::Sha1).toHex());
}

QString RecoveryStore::newUntitledKey() {
    return QStringLiteral("untitled-%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(++untitledCount_);
}

QString RecoveryStore::copyPath(const QString& key) const {
    return directory_ + QStringLiteral("/") + key + QStringLiteral(".csv");
}

QString RecoveryStore::infoPath(const QString& key) const {
    return directory_ + QStringLiteral("/") + key + QStringLiteral(".info");
}

std::optional<std::string> RecoveryStore::write(const QString& key, const QString& documentPath,
                                                const std::string& bytes) const {
    if (!QDir().mkpath(directory_)) {
        return "cannot create the folder " + utf8(directory_);
    }
    if (std::optional<std::string> error = writeFileAtomically(utf8(copyPath(key)), bytes)) {
        return error;
    }
    const QString info = QString::fromLatin1(kProcessField) +
                         QString::number(QCoreApplication::applicationPid()) +
                         QStringLiteral("\n") + QString::fromLatin1(kDocumentField) + documentPath +
                         QStringLiteral("\n");
    return writeFileAtomically(utf8(infoPath(key)), utf8(info));
}

void RecoveryStore::remove(const QString& key) const {
    QFile::remove(copyPath(key));
    QFile::remove(infoPath(key));
}

std::optional<RecoveryStore::Copy> RecoveryStore::read(const QString& key,
                                                       qint64* writerProcess) const {
    QFile info(infoPath(key));
    const QFileInfo copy(copyPath(key));
    if (!copy.isFile() || !info.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    Copy found{key, copy.absoluteFilePath(), QString(), copy.lastModified()};
    *writerProcess = 0;
    for (const QString& line : QString::fromUtf8(info.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String(kProcessField))) {
            *writerProcess =
                line.mid(static_cast<qsizetype>(std::strlen(kProcessField))).toLongLong();
        } else if (line.startsWith(QLatin1String(kDocumentField))) {
            found.documentPath = line.mid(static_cast<qsizetype>(std::strlen(kDocumentField)));
        }
    }
    return found;
}

std::optional<RecoveryStore::Copy> RecoveryStore::newerCopyOf(const QString& documentPath) const {
    qint64 writer = 0;
    std::optional<Copy> copy = read(keyForDocument(documentPath), &writer);
    if (!copy || copy->documentPath != documentPath ||
        copy->savedAt <= QFileInfo(documentPath).lastModified()) {
        return std::nullopt;
    }
    return copy;
}

std::vector<RecoveryStore::Copy> RecoveryStore::orphanedUntitledCopies() const {
    std::vector<Copy> copies;
    const QStringList infos =
        QDir(directory_).entryList({QStringLiteral("untitled-*.info")}, QDir::Files);
    for (const QString& name : infos) {
        qint64 writer = 0;
        std::optional<Copy> copy = read(QFileInfo(name).completeBaseName(), &writer);
        if (copy && copy->documentPath.isEmpty() &&
            (writer == QCoreApplication::applicationPid() || !processIsRunning(writer))) {
            copies.push_back(*copy);
        }
    }
    std::sort(copies.begin(), copies.end(),
              [](const Copy& a, const Copy& b) { return a.savedAt < b.savedAt; });
    return copies;
}

} // namespace lanthor
