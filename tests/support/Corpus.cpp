#include "support/Corpus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace {

uint32_t Le32(const QByteArray& B, qsizetype At) {
    return qFromLittleEndian<uint32_t>(B.constData() + At);
}

void PutLe32(QByteArray& B, qsizetype At, uint32_t V) {
    qToLittleEndian<uint32_t>(V, B.data() + At);
}

} // namespace

QStringList FilesOfPart(const QStringList& Files, int Part, int Parts) {
    std::vector<std::pair<qint64, qsizetype>> bySize;
    for (qsizetype i = 0; i < Files.size(); ++i)
        bySize.emplace_back(-QFileInfo(Files[i]).size(), i);
    std::sort(bySize.begin(), bySize.end());
    std::vector<qsizetype> mine;
    for (size_t k = 0; k < bySize.size(); ++k) {
        const int round = static_cast<int>(k / static_cast<size_t>(Parts));
        const int seat = static_cast<int>(k % static_cast<size_t>(Parts));
        if ((round % 2 == 0 ? seat : Parts - 1 - seat) == Part) mine.push_back(bySize[k].second);
    }
    std::sort(mine.begin(), mine.end());
    QStringList out;
    for (const qsizetype i : mine)
        out << Files[i];
    return out;
}

QString SharedCorpusDir() {
    const QString env = qEnvironmentVariable("PRAVOLIN_CORPUS");
    if (!env.isEmpty()) return env;
    for (const char* up : {"/..", "/../.."}) {
        const QString dir =
            QStringLiteral(PRAVOLIN_SOURCE_DIR) + QLatin1String(up) + QStringLiteral("/shared/corpus");
        if (QDir(dir).exists()) return QDir(dir).canonicalPath();
    }
    return QStringLiteral(PRAVOLIN_SOURCE_DIR "/../shared/corpus");
}

QString CorpusRtfDir() {
    return SharedCorpusDir() + QStringLiteral("/rtf");
}

QByteArray CorpusFile(const QString& Name) {
    const QString path = SharedCorpusDir() + QLatin1Char('/') + Name;
    if (!Name.endsWith(QLatin1String(".gz"))) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    if (!QFile::exists(path)) return {};
    QProcess gzip;
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), path});
    if (!gzip.waitForFinished(60000) || gzip.exitCode() != 0) return {};
    return gzip.readAllStandardOutput();
}

QByteArray HeavyEmf(int Times) {
    const QByteArray emf = CorpusFile(QStringLiteral("metafile/heavy_emf_2000x100.emf.gz"));
    if (emf.size() < 88 || Times <= 1) return emf;
    // The records between the header and the end record, repeated.
    const qsizetype first = Le32(emf, 4);
    qsizetype end = first;
    uint32_t records = 0;
    while (end + 8 <= emf.size() && Le32(emf, end) != 14) {
        end += Le32(emf, end + 4);
        ++records;
    }
    QByteArray out = emf.left(first) + emf.mid(first, end - first).repeated(Times) + emf.mid(end);
    PutLe32(out, 48, static_cast<uint32_t>(out.size()));
    PutLe32(out, 52, Le32(emf, 52) + records * static_cast<uint32_t>(Times - 1));
    return out;
}

QByteArray HeavyWmf(int Times) {
    const QByteArray wmf = CorpusFile(QStringLiteral("metafile/heavy_wmf_2000x100.wmf.gz"));
    if (wmf.size() < 40 || Times <= 1) return wmf;
    const qsizetype first = 22 + 18;
    qsizetype end = first;
    while (end + 6 <= wmf.size() && qFromLittleEndian<uint16_t>(wmf.constData() + end + 4) != 0)
        end += qsizetype(Le32(wmf, end)) * 2;
    QByteArray out = wmf.left(first) + wmf.mid(first, end - first).repeated(Times) + wmf.mid(end);
    PutLe32(out, 22 + 6, static_cast<uint32_t>((out.size() - 22) / 2));
    return out;
}
