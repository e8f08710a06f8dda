// The import of the RTF files that do not change (the shared corpus, the
// malformed inputs and the fuzz seeds) must give the same document as when the
// digests in import_digests.txt were taken: items and texts in their stream
// form, text, paragraph and list styles, the marker list with its counters, and
// hyperlinks. Work on the importer's speed must not show here. Where a change
// of behaviour is meant, or files were added, rewrite the file with
// PRAVOLIN_WRITE_IMPORT_DIGESTS=1 and review the changed lines. The pages are
// left out: they are edited often, and their own tests check them.
#include "support/Corpus.h"
#include "RTFImportDoc.h"

#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPMarkers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

const char* kDigestFile = PRAVOLIN_SOURCE_DIR "/tests/richtext/rtf/import_digests.txt";

std::string Hex(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size())).toHex().toStdString();
}

void DescribeStyles(const TRPStyle& style, std::ostringstream& out) {
    for (int i = 0; i < style.TextStyles().Count(); ++i) {
        const TFontInfo& f = *style.TextStyles().GetItem(i);
        out << "T" << i << " " << f.FontName << " " << f.Size << " " << f.Color << " " << f.BackColor << " "
            << int(f.Style) << " " << int(f.StyleEx) << " " << f.VShift << " " << int(f.Charset) << " "
            << f.Unicode << f.Jump << f.Standard << " " << f.CharScale << " " << f.CharSpacing << "\n";
    }
    for (int i = 0; i < style.ParaStyles().Count(); ++i) {
        const TParaInfo& p = *style.ParaStyles().GetItem(i);
        const TRPBorder& b = p.Border;
        out << "P" << i << " " << int(p.Alignment) << " " << p.LeftIndent << " " << p.RightIndent << " "
            << p.FirstIndent << " " << p.SpaceBefore << " " << p.SpaceAfter << " " << p.LineSpacing << " "
            << int(p.LineSpacingType) << " " << p.Background.Color << " " << int(p.Options) << " | "
            << int(b.Style) << " " << b.Width << " " << b.InternalWidth << " " << b.Color << " "
            << b.VisibleBorders.Left << b.VisibleBorders.Top << b.VisibleBorders.Right
            << b.VisibleBorders.Bottom << "\n";
    }
    for (int i = 0; i < style.ListStyles().Count(); ++i) {
        const TRPListInfo& l = *style.ListStyles().Items(i);
        out << "L" << i << " " << l.StyleName << "\n";
        for (int k = 0; k < l.Levels.Count(); ++k) {
            const TRPListLevel& lv = *l.Levels.Items(k);
            out << "  " << int(lv.ListType) << " " << Hex(lv.FormatString) << " "
                << Hex(WideStrToItemText(lv.FormatStringW)) << " " << lv.LeftIndent << " " << lv.FirstIndent
                << " " << lv.MarkerIndent << " " << int(lv.MarkerAlignment) << " " << int(lv.Options) << " "
                << lv.StartFrom;
            if (const TRPMarkerFont* f = lv.FontIfAny())
                out << " " << f->Name << " " << f->Size << " " << f->Color << " " << int(f->Charset) << " "
                    << int(f->Style);
            out << "\n";
        }
    }
}

// Everything the import decides, as text.
std::string Describe(TImportDoc& doc, uint8_t result) {
    std::ostringstream out;
    out << "result " << int(result) << "\n";
    std::string rpf;
    TColor color = clNone;
    doc.SaveRPFToStream(rpf, false, color, nullptr, nullptr);
    out << rpf << "\n";
    DescribeStyles(doc.Style, out);
    if (TRPMarkerList* markers = doc.GetMarkers(false))
        for (int i = 0; i < markers->Count(); ++i) {
            const TRPMarkerItemInfo* m = markers->Get(i);
            out << "M" << doc.GetItemNo(m) << " " << m->ListNo << " " << m->Level << " " << m->Counter << " "
                << Hex(m->DisplayString) << "\n";
        }
    for (const std::string& link : doc.Links)
        out << "H " << link << "\n";
    return out.str();
}

// The two style modes the program uses: the pages add what they need, a
// control's default maps to the closest existing style.
std::string ImportDescription(const QString& path, TRPReaderStyleMode mode) {
    TImportDoc doc;
    doc.Props.UnicodeMode = rpruMixed;
    doc.Props.TextStyleMode = mode;
    doc.Props.ParaStyleMode = mode;
    const uint8_t r = doc.Props.ReadRTFFile(path.toStdString(), &doc);
    return Describe(doc, r);
}

std::string Digest(const std::string& s) {
    return QCryptographicHash::hash(QByteArray::fromStdString(s), QCryptographicHash::Sha1)
        .toHex()
        .left(20)
        .toStdString();
}

QString CorpusDir() {
    const QString dir = CorpusRtfDir();
    return QFileInfo(dir).isDir() ? dir : QString();
}

struct TSource {
    QString Label;
    QString Dir;
};

// Label-prefixed relative paths of all files to import, in a stable order.
std::map<std::string, QString> Files() {
    std::vector<TSource> sources = {
        {"malformed", QStringLiteral(PRAVOLIN_SOURCE_DIR "/tests/richtext/rtf/malformed")},
        {"fuzz", QStringLiteral(PRAVOLIN_SOURCE_DIR "/fuzz/corpus/rtf_reader")},
    };
    if (const QString corpus = CorpusDir(); !corpus.isEmpty()) sources.push_back({"corpus", corpus});
    std::map<std::string, QString> files;
    for (const TSource& s : sources) {
        QDirIterator it(s.Dir, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files[(s.Label + "/" + QDir(s.Dir).relativeFilePath(path)).toStdString()] = path;
        }
    }
    return files;
}

std::map<std::string, std::string> ReadDigests() {
    std::map<std::string, std::string> digests;
    QFile f(QString::fromLatin1(kDigestFile));
    if (!f.open(QIODevice::ReadOnly)) return digests;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const qsizetype blank = line.lastIndexOf(' ');
        if (blank > 0) digests[line.left(blank).toStdString()] = line.mid(blank + 1).toStdString();
    }
    return digests;
}

// Writes the description of one import into Dir; answers the file's path.
QString WriteDescription(const QString& Dir, const std::string& Key, const std::string& Text) {
    QDir().mkpath(Dir);
    QString name = QString::fromStdString(Key);
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char(' '), QLatin1Char('.'));
    QFile f(Dir + "/" + name + ".txt");
    if (f.open(QIODevice::WriteOnly)) f.write(Text.data(), static_cast<qint64>(Text.size()));
    return f.fileName();
}

} // namespace

TEST(RTFImportDigest, EveryFileImportsAsBefore) {
    const bool write = qEnvironmentVariableIsSet("PRAVOLIN_WRITE_IMPORT_DIGESTS");
    const std::map<std::string, std::string> want = ReadDigests();
    std::string written;
    int compared = 0;
    for (const auto& [name, path] : Files()) {
        for (TRPReaderStyleMode mode : {rprsAddIfNeeded, rprsUseClosest}) {
            const std::string key = name + (mode == rprsAddIfNeeded ? " add" : " closest");
            const std::string text = ImportDescription(path, mode);
            const std::string got = Digest(text);
            // The whole descriptions, for comparing two states of the code with diff.
            if (const QString dir = qEnvironmentVariable("PRAVOLIN_IMPORT_DESCRIPTIONS"); !dir.isEmpty())
                WriteDescription(dir, key, text);
            written += key + " " + got + "\n";
            if (write) continue;
            // A file added since has nothing to compare with.
            auto w = want.find(key);
            if (w == want.end()) continue;
            ++compared;
            if (w->second == got) continue;
            ADD_FAILURE() << key << " imports differently now; see "
                          << WriteDescription(QStringLiteral(PRAVOLIN_TEST_OUTPUT), key, text).toStdString();
        }
    }
    if (write) {
        QFile f(QString::fromLatin1(kDigestFile));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(written.data(), static_cast<qint64>(written.size()));
        return;
    }
    // Without the shared corpus only the files of the repository are compared.
    const bool corpus = !CorpusDir().isEmpty();
    size_t expected = 0;
    for (const auto& entry : want)
        expected += corpus || entry.first.rfind("corpus/", 0) != 0;
    EXPECT_EQ(expected, static_cast<size_t>(compared)) << "files of the digest list are missing";
    EXPECT_GT(compared, corpus ? 500 : 50);
}
