#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

QString& rootRef() {
    static QString root = [] {
        QString home = QDir::homePath();
        return home.isEmpty() ? QStringLiteral("/") : home;
    }();
    return root;
}

// The entry of dir whose name equals name ignoring case; the exact name wins.
QString findEntry(const QString& dir, const QString& name) {
    if (QFileInfo::exists(dir + QLatin1Char('/') + name)) return name;
    const QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
    return QString();
}

} // namespace

namespace Paths {

void SetDriveRoot(const QString& root) {
    rootRef() = root.isEmpty() ? QStringLiteral("/") : root;
}
QString DriveRoot() {
    return rootRef();
}

QString MapPath(const QString& programPath) {
    QString p = programPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString base;
    if (p.size() >= 2 && p[1] == QLatin1Char(':') && p[0].isLetter()) {
        base = rootRef();
        p = p.mid(2);
    } else if (programPath.startsWith(QLatin1Char('\\'))) {
        base = QDir::currentPath();
    } else if (p.startsWith(QLatin1Char('/'))) {
        base = QStringLiteral("/");
    } else {
        base = QDir::currentPath();
    }
    // ".." is resolved by name, as the program means it, before the lookup.
    QString joined = QDir::cleanPath(base + QLatin1Char('/') + p);
    if (joined.isEmpty()) return base;
    const QStringList parts = joined.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString result = joined.startsWith(QLatin1Char('/')) ? QString() : QStringLiteral(".");
    bool found = true;
    for (const QString& part : parts) {
        // Above the root there is only the root.
        if (part == QLatin1String("..") && result.isEmpty()) continue;
        QString dir = result.isEmpty() ? QStringLiteral("/") : result;
        QString name = part;
        if (found) {
            QString entry = findEntry(dir, part);
            if (entry.isEmpty())
                found = false;
            else
                name = entry;
        }
        result += QLatin1Char('/') + name;
    }
    return result.isEmpty() ? QStringLiteral("/") : result;
}

} // namespace Paths

bool FileExists(const QString& programPath) {
    QFileInfo fi(Paths::MapPath(programPath));
    return fi.exists() && !fi.isDir();
}

bool DirectoryExists(const QString& programPath) {
    return QFileInfo(Paths::MapPath(programPath)).isDir();
}

QString GetCurrentDir() {
    return QDir::currentPath();
}
