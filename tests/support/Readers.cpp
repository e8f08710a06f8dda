#include "support/Readers.h"

#include <chrono>
#include <cstdio>
#include <map>

#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const auto g_processStart = std::chrono::steady_clock::now();

// The CPU time, in clock ticks, that the process Root and every process
// below it have used (a reader such as soffice is a script that starts the
// program that does the work); ended children count with their parents.
long long TreeCpuTicks(pid_t Root) {
    struct TStat {
        pid_t Parent;
        long long Ticks;
    };
    std::map<pid_t, TStat> all;
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        bool number = false;
        const pid_t pid = it.next().section(QLatin1Char('/'), -1).toInt(&number);
        if (!number) continue;
        QFile f(it.filePath() + QStringLiteral("/stat"));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = f.readAll();
        // The fields after the name, which may hold spaces and brackets.
        const qsizetype close = line.lastIndexOf(')');
        if (close < 0) continue;
        int parent = 0;
        unsigned long long user = 0, system = 0, childUser = 0, childSystem = 0;
        if (std::sscanf(line.constData() + close + 1,
                        " %*c %d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu %llu %llu", &parent, &user,
                        &system, &childUser, &childSystem) != 5)
            continue;
        all[pid] = {parent, static_cast<long long>(user + system + childUser + childSystem)};
    }
    long long sum = 0;
    for (const auto& [pid, stat] : all) {
        for (pid_t p = pid; p > 1;) {
            if (p == Root) {
                sum += stat.Ticks;
                break;
            }
            const auto up = all.find(p);
            if (up == all.end()) break;
            p = up->second.Parent;
        }
    }
    return sum;
}

// The milliseconds left of the ctest entry this process runs in, less a
// margin to report in.
qint64 EntryMsLeft() {
    bool given = false;
    const int seconds = qEnvironmentVariableIntValue("PRAVOLIN_ENTRY_SECONDS", &given);
    const qint64 limit = (given && seconds > 0 ? seconds : 900) * qint64(1000);
    const qint64 used = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - g_processStart)
                            .count();
    return limit - used - 30000;
}

} // namespace

QString RunReader(const QString& Program, const QStringList& Args, QByteArray* Out, QByteArray* Err,
                  int IdleMs, int* Exit) {
    const QString exe = QStandardPaths::findExecutable(Program);
    if (exe.isEmpty()) return Program + " is not installed (scripts/setup installs it)";
    QProcess p;
    // A group of its own, so that a reader given up on ends with all it started.
    p.setChildProcessModifier([] { setpgid(0, 0); });
    p.start(exe, Args);
    if (!p.waitForStarted(IdleMs)) return Program + " did not start";
    const pid_t pid = static_cast<pid_t>(p.processId());
    // A reader that works, however slowly a loaded machine lets it, is
    // waited for up to the entry's limit; one that used no CPU time for
    // IdleMs is hung.
    const qint64 end = EntryMsLeft();
    QElapsedTimer running, idle;
    running.start();
    idle.start();
    long long ticks = TreeCpuTicks(pid);
    while (!p.waitForFinished(1000)) {
        if (p.state() == QProcess::NotRunning) break;
        if (const long long now = TreeCpuTicks(pid); now > ticks) {
            ticks = now;
            idle.restart();
        }
        if (idle.elapsed() > IdleMs || running.elapsed() > end) {
            kill(-pid, SIGKILL);
            p.waitForFinished(10000);
            return Program + (idle.elapsed() > IdleMs
                                  ? " used no CPU time for " + QString::number(IdleMs / 1000) + " s"
                                  : " did not finish within the entry's time");
        }
    }
    if (Out) *Out = p.readAllStandardOutput();
    if (Err) *Err = p.readAllStandardError();
    if (Exit) *Exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString();
}

QString PdfTextPages(const QString& Pdf, QStringList& Pages) {
    Pages.clear();
    QByteArray text;
    int exit = -1;
    const QString failed =
        RunReader(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), Pdf, QStringLiteral("-")}, &text,
                  nullptr, 60000, &exit);
    if (!failed.isEmpty()) return failed;
    if (exit != 0) return QStringLiteral("pdftotext failed on ") + Pdf;
    Pages = QString::fromUtf8(text).split(QLatin1Char('\f'));
    if (!Pages.isEmpty() && Pages.last().trimmed().isEmpty()) Pages.removeLast();
    return QString();
}

QString PdfPageImage(const QString& Pdf, int Page, int Dpi, QImage& Image) {
    QTemporaryDir dir;
    if (!dir.isValid()) return QStringLiteral("no temporary folder");
    const QString prefix = dir.filePath(QStringLiteral("seite"));
    QByteArray err;
    const QString page = QString::number(Page);
    const QString failed = RunReader(QStringLiteral("pdftoppm"),
                                     {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-f"), page,
                                      QStringLiteral("-l"), page, QStringLiteral("-png"),
                                      QStringLiteral("-singlefile"), Pdf, prefix},
                                     nullptr, &err, 60000);
    if (!failed.isEmpty()) return failed;
    if (!Image.load(prefix + QStringLiteral(".png")))
        return QStringLiteral("pdftoppm made no page of ") + Pdf + ": " + QString::fromUtf8(err);
    return QString();
}
