#include "support/Readers.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

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

QString PdfTextPages(const QString& Pdf, QStringList& Pages) {
    Pages.clear();
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (exe.isEmpty()) return QStringLiteral("pdftotext is not installed (scripts/setup installs it)");
    QProcess p;
    p.start(exe, {QStringLiteral("-layout"), Pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000)) return QStringLiteral("pdftotext did not finish");
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("pdftotext failed on ") + Pdf;
    Pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
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
