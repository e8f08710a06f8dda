// The main of a fuzz target built as a plain program (any compiler, no
// libFuzzer): runs the target once on each file named and on each file in
// the folders named (and their subfolders), in name order; ".gz" files are
// unpacked first. A finding ends the program as it ends the fuzzer (a trap,
// an abort, a sanitizer's report) after the name of the file it came from.
// It ends as the fuzzer does too: pictures still converting are stopped on
// the way out (FuzzExit.cpp).
//
//   fuzz_seeds_rtf_roundtrip fuzz/corpus/rtf_roundtrip ../shared/corpus/rtf
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

namespace {

QByteArray Contents(const QString& Path) {
    if (Path.endsWith(QLatin1String(".gz"))) {
        QProcess gzip;
        gzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), Path});
        gzip.waitForFinished(-1);
        return gzip.readAllStandardOutput();
    }
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv) {
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isFile()) {
            files << arg;
            continue;
        }
        if (!QFileInfo(arg).isDir()) {
            std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
            return 2;
        }
        QStringList found;
        QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        std::sort(found.begin(), found.end());
        files += found;
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    for (const QString& file : files) {
        // Named first: a finding ends the program before anything after it.
        std::fprintf(stderr, "%s\n", qPrintable(file));
        std::fflush(stderr);
        const QByteArray bytes = Contents(file);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               static_cast<size_t>(bytes.size()));
    }
    std::fprintf(stderr, "%lld files, no finding\n", static_cast<long long>(files.size()));
    return 0;
}
