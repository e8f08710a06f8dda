#include "platform/Process.h"

#include "platform/Paths.h"

#include <QFileInfo>
#include <QProcess>

bool StartProgram(const QString& program, const QStringList& arguments, const QString& workingDir) {
    if (program.trimmed().isEmpty()) return false;
    QString exe = program;
    if (program.contains(QLatin1Char('\\')) || program.contains(QLatin1Char('/'))) {
        QFileInfo fi(Paths::MapPath(program));
        if (!fi.exists() || fi.isDir() || !fi.isExecutable()) return false;
        // The child changes to its working directory before it runs the
        // program: a relative path would be looked up from there.
        exe = fi.absoluteFilePath();
    }
    QString dir;
    if (!workingDir.isEmpty()) {
        const QFileInfo fi(Paths::MapPath(workingDir));
        if (!fi.isDir()) return false;
        dir = fi.absoluteFilePath();
    }
    QProcess proc;
    proc.setProgram(exe);
    proc.setArguments(arguments);
    if (!dir.isEmpty()) proc.setWorkingDirectory(dir);
    return proc.startDetached();
}
