// Real RTF from other projects' test suites and our own malformed inputs: none
// may crash or hang, and each must end with the result its folder promises.
#include "support/Corpus.h"
#include "RTFImportDoc.h"
#include "RTFRecorder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

QString CorpusDir() {
    return CorpusRtfDir();
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

uint8_t Parse(const QByteArray& data, RTFRecorder& rec) {
    rec.Unicode = rec.Pictures = rec.Markers = rec.Objects = rec.PageBreaks = true;
    TRPRTFReader r;
    rec.Hook(r);
    return r.ReadFromBuffer(data.constData(), static_cast<size_t>(data.size()));
}

// Files of the corpus that are not what their folder suggests, with the reason.
const std::map<QString, uint8_t>& KnownResults() {
    static const std::map<QString, uint8_t> known = {
        // Two groups are still open at the end (after the binary data of a picture).
        {"tika/testBinControlWord.rtf", 3},
        // A test of a missing closing brace, kept beside the ordinary documents.
        {"rtfpipe/RtfParserTest_fail_3.rtf", 3},
    };
    return known;
}

} // namespace

TEST(RTFCorpus, EveryFileReadsCleanly) {
    const QString root = CorpusDir();
    if (!QFileInfo(root).isDir()) GTEST_SKIP() << "no corpus at " << root.toStdString();
    int files = 0, rtf = 0;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = QDir(root).relativeFilePath(path);
        const QByteArray data = ReadAll(path);
        RTFRecorder rec;
        const uint8_t r = Parse(data, rec);
        ++files;
        EXPECT_LE(r, 10) << rel.toStdString();
        if (!rel.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive) || !data.startsWith("{\\rtf")) continue;
        ++rtf;
        const bool failFolder = rel.contains(QLatin1String("/fail/"));
        auto known = KnownResults().find(rel);
        if (known != KnownResults().end()) {
            EXPECT_EQ(known->second, r) << rel.toStdString();
        } else if (!failFolder) {
            EXPECT_EQ(0, r) << rel.toStdString();
        }
        // The same file trickled through a stream gives the same events.
        if (!failFolder && data.size() < 200000) {
            RTFRecorder again;
            again.Unicode = again.Pictures = again.Markers = again.Objects = again.PageBreaks = true;
            TRPRTFReader reader;
            again.Hook(reader);
            QByteArray copy = data;
            QBuffer buf(&copy);
            buf.open(QIODevice::ReadOnly);
            EXPECT_EQ(r, reader.ReadFromStream(buf));
            EXPECT_EQ(rec.Events, again.Events) << rel.toStdString();
        }
    }
    EXPECT_GT(files, 100);
    EXPECT_GT(rtf, 50);
}

// tests/richtext/rtf/malformed: each file is named NAME.rN.rtf, N the result it must give.
TEST(RTFCorpus, MalformedInputs) {
    const QString dir = QStringLiteral(PRAVOLIN_SOURCE_DIR "/tests/richtext/rtf/malformed");
    QDirIterator it(dir, {QStringLiteral("*.rtf")}, QDir::Files);
    int count = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QFileInfo(path).fileName();
        const QStringList parts = name.split(QLatin1Char('.'));
        ASSERT_GE(parts.size(), 3) << name.toStdString();
        const QString code = parts[parts.size() - 2];
        ASSERT_TRUE(code.startsWith(QLatin1Char('r'))) << name.toStdString();
        RTFRecorder rec;
        EXPECT_EQ(code.mid(1).toInt(), Parse(ReadAll(path), rec)) << name.toStdString();
        // The import ends the same way, with what was read before the end kept.
        TImportDoc doc;
        doc.Props.TextStyleMode = rprsAddIfNeeded;
        doc.Props.ParaStyleMode = rprsAddIfNeeded;
        EXPECT_EQ(code.mid(1).toInt(), doc.Props.ReadRTFFile(path.toStdString(), &doc)) << name.toStdString();
        ++count;
    }
    EXPECT_GE(count, 10);
}

namespace {

// Line ends and blanks normalised: lines trimmed, runs of blanks made one, empty lines dropped.
std::string NormalisedText(const QString& text) {
    QStringList out;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& line : t.split(QLatin1Char('\n'))) {
        const QString s = line.simplified();
        if (!s.isEmpty()) out << s;
    }
    return out.join(QLatin1Char('\n')).toStdString();
}

// Files whose text another parser gives differently, and why.
const std::map<QString, const char*>& KnownTextDifferences() {
    static const std::map<QString, const char*> known = {
        {"striprtf/rtf/BVWGT_20241227_W258_2227269_1_00_01.rtf", "a picture the other parser drops"},
        {"striprtf/rtf/issue_29_bad.rtf",
         "rows of different widths and left edges in one table: the grid gives the columns a row "
         "does not reach empty cells of their own, and a vertically merged cell is one cell; the "
         "other parser writes one cell end per \\cell word"},
        {"striprtf/rtf/hyperlink.rtf", "the other parser writes a link's target after its text"},
        {"striprtf/rtf/mac_textedit_hyperlink.rtf", "the other parser writes a link's target after its text"},
        {"striprtf/rtf/specialchars.rtf",
         "the optional hyphen (\\-) is dropped here; the other parser keeps it as a soft hyphen"},
        {"striprtf/rtf/issue_63.rtf",
         "the number stands in \\listtext, which is skipped, and \\ls23 names a list "
         "the file does not define"},
    };
    return known;
}

} // namespace

// Every RTF file imported as the section pages are: the same result as the
// reader alone, and the text that other parsers expect where they give one.
TEST(RTFCorpus, ImportMatchesOtherParsers) {
    const QString root = CorpusDir();
    if (!QFileInfo(root).isDir()) GTEST_SKIP() << "no corpus at " << root.toStdString();
    int compared = 0;
    std::vector<std::string> differing;
    QDirIterator it(root, {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = QDir(root).relativeFilePath(path);
        const QByteArray data = ReadAll(path);
        RTFRecorder rec;
        const uint8_t parsed = Parse(data, rec);
        TImportDoc doc;
        doc.Props.UnicodeMode = rpruMixed;
        doc.Props.TextStyleMode = rprsAddIfNeeded;
        doc.Props.ParaStyleMode = rprsAddIfNeeded;
        EXPECT_EQ(parsed, doc.Props.ReadRTFFile(path.toStdString(), &doc)) << rel.toStdString();
        QString expectedFile;
        // The other parsers' way with tables: one writes "|" after each cell and
        // ends only the rows of outermost tables (it does not know \nestrow),
        // the other a tab after each cell and a line end after each row.
        TImportDoc::TTableText tables;
        if (rel.startsWith(QLatin1String("striprtf/rtf/"))) {
            expectedFile = root + "/striprtf/text/" + QFileInfo(path).completeBaseName() + ".txt";
            tables.NestedRowEnds = false;
        } else if (rel.startsWith(QLatin1String("rtfparserkit/converter/text/"))) {
            expectedFile =
                root + "/rtfparserkit/converter/text/" + QFileInfo(path).completeBaseName() + ".txt";
            tables.CellEnd = "\t";
        }
        if (expectedFile.isEmpty() || !QFileInfo(expectedFile).isFile()) continue;
        ++compared;
        const std::string want = NormalisedText(QString::fromUtf8(ReadAll(expectedFile)));
        const std::string got = NormalisedText(QString::fromStdString(doc.PlainText(tables)));
        const bool known = KnownTextDifferences().count(rel) != 0;
        if (want != got) {
            differing.push_back(rel.toStdString());
            // Both texts go to the test output, for a look at the difference.
            QDir().mkpath(QStringLiteral(PRAVOLIN_TEST_OUTPUT));
            const QString base =
                QStringLiteral(PRAVOLIN_TEST_OUTPUT "/") + QFileInfo(path).completeBaseName();
            for (const auto& [suffix, text] : {std::pair{".want.txt", &want}, std::pair{".got.txt", &got}}) {
                QFile out(base + suffix);
                if (out.open(QIODevice::WriteOnly))
                    out.write(text->data(), static_cast<qint64>(text->size()));
            }
            EXPECT_TRUE(known) << rel.toStdString() << "\n--- expected\n"
                               << want.substr(0, 600) << "\n--- got\n"
                               << got.substr(0, 600);
        } else {
            EXPECT_FALSE(known) << rel.toStdString() << " agrees now: take it off the list";
        }
    }
    EXPECT_GE(compared, 10);
}

// A writer's fragment output is its document's body without the opening
// {\rtf1 and the tables before the body: a run of top-level paragraph groups.
// Every one of them is read, through the reader and the import alike.
TEST(RTFCorpus, FragmentKeepsTheTextOfItsDocument) {
    const QString path = CorpusDir() + "/pandoc-writer/writer.rtf";
    if (!QFileInfo(path).isFile()) GTEST_SKIP() << "no corpus file " << path.toStdString();
    const QByteArray document = ReadAll(path);
    const qsizetype body = document.indexOf("\n{\\pard");
    const qsizetype end = document.lastIndexOf('}');
    ASSERT_GT(body, 0);
    ASSERT_GT(end, body);
    const QByteArray fragment = document.mid(body + 1, end - body - 1);
    RTFRecorder whole, part;
    ASSERT_EQ(0, Parse(document, whole));
    EXPECT_EQ(0, Parse(fragment, part));
    EXPECT_GT(whole.Text().size(), 5000u);
    EXPECT_EQ(whole.Text(), part.Text());

    TImportDoc fromDocument, fromFragment;
    ASSERT_EQ(0, fromDocument.Import(document.toStdString()));
    EXPECT_EQ(0, fromFragment.Import(fragment.toStdString()));
    // The fragment has no list table, so its list paragraphs carry no markers.
    auto withoutMarkers = [](std::string s) {
        s.erase(std::remove(s.begin(), s.end(), '*'), s.end());
        return s;
    };
    EXPECT_EQ(withoutMarkers(fromDocument.PlainText()), withoutMarkers(fromFragment.PlainText()));
}
