#include "platform/Process.h"

#include "platform/Paths.h"

#include <QFileInfo>
#include <QProcess>

bool StartProgram(const QString& program, const QStringList& arguments, const QString& workingDir) {
    if (program.trimmed().isEmpty()) return false;
    QString exe = program;
    if (program.contains(QLatin1Char('\\')) || program.contains(QLatin1Char('/'))) {
        exe = Paths::MapPath(program);
        QFileInfo fi(exe);
        if (!fi.exists() || fi.isDir() || !fi.isExecutable()) return false;
    }
    QString dir;
    if (!workingDir.isEmpty()) {
        dir = Paths::MapPath(workingDir);
        if (!QFileInfo(dir).isDir()) return false;
    }
    QProcess proc;
    proc.setProgram(exe);
    proc.setArguments(arguments);
    if (!dir.isEmpty()) proc.setWorkingDirectory(dir);
    return proc.startDetached();
}
