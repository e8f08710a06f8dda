#include "support/StandInFolder.h"

#include <QDir>
#include <QTemporaryDir>

#include <atomic>

QString StandInFolder() {
    // Removed with its contents when the test program ends.
    static QTemporaryDir all;
    static std::atomic<int> next = 0;
    const QString name = QString::number(next++);
    QDir(all.path()).mkdir(name);
    return all.filePath(name);
}
