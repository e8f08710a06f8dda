#pragma once
// The shared corpus of real RTF files: beside the checkout, or beside the
// folder of work trees.
#include <QDir>
#include <QString>

inline QString RTFCorpusDir() {
    for (const char* up : {"/..", "/../.."}) {
        const QString dir =
            QStringLiteral(PRAVOLIN_SOURCE_DIR) + QLatin1String(up) + QStringLiteral("/shared/corpus/rtf");
        if (QDir(dir).exists()) return QDir::cleanPath(dir);
    }
    return QStringLiteral(PRAVOLIN_SOURCE_DIR "/../shared/corpus/rtf");
}
