#include "support/HeldMetafileHelper.h"

#include "platform/MetafileConvert.h"
#include "support/StandInFolder.h"

#include <QFile>

#include <algorithm>

namespace {

// How long a run is held at most (the script counts its pauses of a tenth
// of a second): long enough for any machine to paint a page meanwhile.
constexpr int HoldTenths = 600;
// The wall-clock limit of a helper while runs may be held: the hold must
// not count as a hang.
constexpr int HeldWallMs = 2 * HoldTenths * 100;

QString Quoted(const QString& Path) {
    return QLatin1Char('\'') + QString(Path).replace(QLatin1Char('\''), QLatin1String("'\\''")) +
           QLatin1Char('\'');
}

} // namespace

THeldMetafileHelper::THeldMetafileHelper() : m_dir(StandInFolder()), m_previous(MetafileHelperPath()) {
    // The gate is closed while its file exists: a run that starts after the
    // release passes at once.
    const QString closed = m_dir.filePath(QStringLiteral("zu"));
    QFile(closed).open(QIODevice::WriteOnly);
    const QString script = m_dir.filePath(QStringLiteral("helfer"));
    QFile f(script);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("#!/bin/sh\n"
                           "n=0\n"
                           "while [ -e %1 ]; do\n"
                           "    if [ $n -ge %2 ]; then : > %3; break; fi\n"
                           "    n=$((n + 1))\n"
                           "    sleep 0.1\n"
                           "done\n"
                           "exec %4 \"$@\"\n")
                .arg(Quoted(closed))
                .arg(HoldTenths)
                .arg(Quoted(m_dir.filePath(QStringLiteral("zu-lange"))), Quoted(m_previous))
                .toLocal8Bit());
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    int cpuMs = 0;
    MetafileTimeLimits(cpuMs, m_previousWallMs);
    SetMetafileTimeLimits(cpuMs, std::max(m_previousWallMs, HeldWallMs));
    SetMetafileHelper(script);
}

THeldMetafileHelper::~THeldMetafileHelper() {
    Release();
    SetMetafileHelper(m_previous);
    int cpuMs = 0, wallMs = 0;
    MetafileTimeLimits(cpuMs, wallMs);
    SetMetafileTimeLimits(cpuMs, m_previousWallMs);
}

void THeldMetafileHelper::Release() {
    QFile::remove(m_dir.filePath(QStringLiteral("zu")));
}

bool THeldMetafileHelper::HeldTooLong() const {
    return QFile::exists(m_dir.filePath(QStringLiteral("zu-lange")));
}
