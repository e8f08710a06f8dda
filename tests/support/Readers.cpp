#include "support/Readers.h"

#include <QProcess>
#include <QStandardPaths>

QString RunReader(const QString& Program, const QStringList& Args, QByteArray* Out, QByteArray* Err,
                  int TimeoutMs) {
    const QString exe = QStandardPaths::findExecutable(Program);
    if (exe.isEmpty()) return Program + " is not installed (scripts/setup installs it)";
    QProcess p;
    p.start(exe, Args);
    if (!p.waitForFinished(TimeoutMs)) return Program + " did not finish";
    if (Out) *Out = p.readAllStandardOutput();
    if (Err) *Err = p.readAllStandardError();
    return QString();
}
