// The formats against real documents and real readers: every file of the
// shared RTF corpus that imports comes back equal through RTF and through the
// stream format (text and binary); LibreOffice reads our RTF, and libxml2 our
// HTML, to the same text as our own text export. A log book with lists, a
// picture and a link goes the same ways.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>

#include "WriterRoundTrip.h"
#include "platform/Fonts.h"
#include "support/Corpus.h"
#include "support/Readers.h"
#include "support/RtfGroups.h"

namespace {

QString CorpusDir() {
    return SharedCorpusDir() + QStringLiteral("/rtf");
}

void Import(TWriterDoc& d) {
    d.AddStylesOnImport();
    d.Props.UseHypertextStyles = true;
}

// A log book as the program keeps one: headings, a numbered and a bulleted
// list, umlauts and other characters, a picture and a link.
void MakeLogBook(TWriterDoc& d) {
    TRPListInfo* numbers = d.Style.ListStyles().Add();
    TRPListLevel* n0 = numbers->Levels.Add();
    n0->ListType = rplstDecimal;
    n0->FormatString = "%s.";
    n0->LeftIndent = 24;
    n0->FirstIndent = -12;
    TRPListLevel* n1 = numbers->Levels.Add();
    n1->ListType = rplstLowerAlpha;
    n1->FormatString = "%1:s)";
    n1->LeftIndent = 48;
    n1->FirstIndent = -12;
    TRPListLevel* b0 = d.Style.ListStyles().Add()->Levels.Add();
    b0->ListType = rplstUnicodeBullet;
    b0->FormatStringW = u"\u2022";
    b0->LeftIndent = 24;
    b0->FirstIndent = -12;
    TFontInfo* uni = d.Style.TextStyles().Add();
    uni->Unicode = true;
    d.AddText("Logbuch: Pravolin - Grundschule", 1, 0);
    d.AddText(std::string(80, '*'), 0, 0);
    d.AddText("1.3.1 Die schriftliche Addition", 2, 0);
    auto marker = [&](int list, int level) {
        d.AddItem("", TRPMarkerItemInfo::CreateEx(&d, list, level, 1, false));
        d.AddMarkerInList(d.GetItemCount() - 1);
    };
    marker(0, 0);
    d.AddText("\xDC" "bung 1: 20 / 20 richtig", 0, -1);
    marker(0, 1);
    d.AddText("erste Aufgabe {schwer} mit \\ und Gr\xF6\xDF" "e", 0, -1);
    marker(0, 0);
    d.AddText("\xDC" "bung 2", 0, -1);
    marker(1, 0);
    d.AddText("Preis: ", 0, -1);
    d.AddText(WideStrToItemText(u"3,50 \u20AC f\u00FCr das Heft \u2013 \u03C0 \u2248 3,14"), 6, -1);
    QImage img(30, 20, QImage::Format_RGB32);
    img.fill(qRgb(200, 30, 60));
    d.AddPicture("Bild", std::make_unique<TBitmap>(img), 0, 0, TRPTag());
    d.AddText("Mehr unter ", 0, 0);
    d.AddTextTag("der Seite", 4, -1, TRPTag::FromText("http://example.org/seite.html"));
    d.AddText(".", 0, -1);
}

// Text compared across readers: blanks and line ends play no part, nor the
// glyphs readers choose for bullets or the private-use codes of symbol fonts.
QString Normalised(QString s) {
    QString r;
    for (QChar c : s) {
        const ushort u = c.unicode();
        if (u >= 0xF020 && u <= 0xF0FF) c = QChar(u - 0xF000);
        if (c.isSpace() || u == 0xFEFF || u == 0xA0) continue;
        if (QStringLiteral("\u2022\u25E6\u25AA\u2043\u00B7*").contains(c)) c = QChar(0x2022);
        r += c;
    }
    return r;
}

QString OurText(TWriterDoc& d) {
    const std::string t = d.Text(true);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(t.data()), static_cast<qsizetype>(t.size() / 2));
}

// Our text with the codes of symbol fonts left as they are: LibreOffice's text
// gives them so (as private-use characters or as the letters of the codes).
QString OurTextWithSymbolCodes(TWriterDoc& d) {
    std::vector<std::pair<std::string*, std::string>> renamed;
    const auto keepCodes = [&](std::string& name) {
        if (!IsSymbolFontName(QString::fromStdString(name))) return;
        renamed.emplace_back(&name, name);
        name = "Codes of " + name;
    };
    for (int i = 0; i < d.Style.TextStyles().Count(); ++i)
        keepCodes(d.Style.TextStyles().GetItem(i)->FontName);
    for (int i = 0; i < d.Style.ListStyles().Count(); ++i)
        for (int k = 0; k < d.Style.ListStyles().Items(i)->Levels.Count(); ++k)
            if (TRPListLevel* lv = d.Style.ListStyles().Items(i)->Levels[k]; lv->HasFont()) keepCodes(lv->Font()->Name);
    const QString text = OurText(d);
    for (auto& [name, old] : renamed)
        *name = old;
    return text;
}

// Where two texts part: some characters before and after in each.
std::string Difference(const QString& a, const QString& b) {
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const qsizetype from = std::max<qsizetype>(0, i - 30);
    return ("\n  theirs ..." + a.mid(from, 80) + "\n  ours   ..." + b.mid(from, 80)).toStdString();
}

bool HasTables(const QByteArray& rtf) {
    return rtf.contains("\\trowd") || rtf.contains("\\cell");
}

struct TCorpusFile {
    QString Name;
    std::unique_ptr<TWriterDoc> Doc;
    bool Tables = false;
};

// The RTF files of the corpus, in the order of their names.
QStringList CorpusFiles() {
    QStringList files;
    QDirIterator it(CorpusDir(), {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// The heaviest tests run the corpus in parts, each a test and a process of
// its own (each took minutes on a loaded machine).
constexpr int kParts = 4;

// Every corpus file of the part that imports, and the log book (in the
// first part); all of them with Part -1.
std::vector<TCorpusFile> Documents(int Part = -1) {
    std::vector<TCorpusFile> docs;
    const QStringList files = Part < 0 ? CorpusFiles() : FilesOfPart(CorpusFiles(), Part, kParts);
    for (const QString& path : files) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        auto d = std::make_unique<TWriterDoc>();
        Import(*d);
        if (d->Props.ReadRTFFile(path.toStdString(), d.get()) != 0) continue;
        docs.push_back({QDir(CorpusDir()).relativeFilePath(path), std::move(d), HasTables(f.readAll())});
    }
    if (Part <= 0) {
        auto log = std::make_unique<TWriterDoc>();
        MakeLogBook(*log);
        docs.push_back({QStringLiteral("logbook"), std::move(log), false});
    }
    return docs;
}

void WriteFile(const QString& path, const std::string& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data.data(), static_cast<qint64>(data.size()));
}

} // namespace

class WriterRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(WriterRoundTrip, RoundTripsThroughRTFAndTheStreamFormat) {
    if (!QFileInfo(CorpusDir()).isDir()) GTEST_SKIP() << "no corpus at " << CorpusDir().toStdString();
    // Level texts hold 255 characters at most; this file's is longer.
    const std::map<QString, const char*> known = {
        {"libreoffice/sw-core/pass/CVE-2005-2972-1.rtf", "level text"},
        // RTF gives each side of a cell its own colour; with the sides of one
        // colour hidden, the pair of a raised or lowered border cannot be told.
        {"rtfpipe/phprtflite/merged_cells.rtf", "a lowered border of which only one colour shows"},
        // Halves of no pair are no characters: the writers put U+FFFD there.
        {"tika/testRTFInvalidUnicode.rtf", "lone surrogates"}};
    std::vector<TCorpusFile> docs = Documents(GetParam());
    // More than 150 files in all, a share of them in each part.
    EXPECT_GT(docs.size() * kParts, 150u);
    for (TCorpusFile& f : docs) {
        TWriterDoc& a = *f.Doc;
        TWriterDoc rtf;
        Import(rtf);
        ASSERT_EQ(rtf.ImportRTF(a.RTF()), 0) << f.Name.toStdString();
        const std::string diff = FirstDifference(a, rtf);
        if (known.count(f.Name))
            EXPECT_NE(diff, "") << f.Name.toStdString() << " agrees now: take it off the list";
        else
            EXPECT_EQ(diff, "") << f.Name.toStdString() << " through RTF";
        for (TRPFOptions binary : {TRPFOptions(0), rpfoSaveBinary}) {
            a.RPFOpts = rpfoSavePicturesBody | rpfoSaveTextStyles | rpfoSaveParaStyles | binary;
            std::string rpf;
            ASSERT_TRUE(a.SaveRPFToStream(rpf, false, clNone, nullptr, nullptr));
            TWriterDoc back;
            back.RPFOpts = a.RPFOpts;
            back.TextMode = back.ParaMode = rpf_sInsertMerge;
            TColor c = clNone;
            ASSERT_TRUE(back.LoadRPFFromStream(rpf, c, nullptr, nullptr)) << f.Name.toStdString();
            EXPECT_EQ(FirstDifference(a, back), "") << f.Name.toStdString() << " through RPF " << binary;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Teil, WriterRoundTrip, ::testing::Range(0, kParts));

TEST(WriterAcceptance, LibreOfficeReadsOurRTF) {
    // What LibreOffice shows differently, and why.
    const std::map<QString, const char*> known = {
        {"libreoffice/sw-core/pass/CVE-2005-2972-1.rtf",
         "a damaged list level whose text is longer than its length byte counts, which LibreOffice drops"},
        {"tika/testRTFJapanese.rtf", "a Wingdings check-mark bullet, which LibreOffice replaces with its own bullet"},
        {"tika/testRTFListMicrosoftWord.rtf", "a dash bullet, which LibreOffice replaces with its own bullet"},
        {"rtfpipe/rtf2xml/old3_from_web.rtf",
         "LibreOffice counts a numbered list on from an earlier one (2. where the file says 1.), reading the "
         "original file too"},
        {"rtfpipe/rtf2xml/complex_list_diff_styles.rtf",
         "LibreOffice numbers the last item (1.4. at the second level) as 2. at the first, reading the "
         "original file too"},
    };
    QTemporaryDir dir;
    std::vector<TCorpusFile> docs = Documents();
    QStringList files;
    for (size_t i = 0; i < docs.size(); ++i) {
        const QString name = dir.filePath(QString::number(i) + ".rtf");
        WriteFile(name, docs[i].Doc->RTF());
        files << name;
    }
    QStringList args{"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to",
                     "txt:Text", "--outdir", dir.filePath("out")};
    const QString error = RunReader("soffice", args + files, nullptr, nullptr, 300000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    int compared = 0;
    for (size_t i = 0; i < docs.size(); ++i) {
        QFile out(dir.filePath("out/" + QString::number(i) + ".txt"));
        ASSERT_TRUE(out.open(QIODevice::ReadOnly)) << docs[i].Name.toStdString() << " did not open";
        const QString theirs = Normalised(QString::fromUtf8(out.readAll()));
        const QString ours = Normalised(OurTextWithSymbolCodes(*docs[i].Doc));
        ++compared;
        const auto k = known.find(docs[i].Name);
        if (k == known.end())
            EXPECT_EQ(theirs, ours) << docs[i].Name.toStdString() << " differs at: " << Difference(theirs, ours);
        else
            EXPECT_NE(theirs, ours) << docs[i].Name.toStdString() << " agrees now: take it off the list";
    }
    if (QFileInfo(CorpusDir()).isDir()) {
        EXPECT_GT(compared, 150);
    }
}

namespace {

// The RTF without its picture groups.
QByteArray WithoutPictures(const QByteArray& Rtf) {
    QByteArray out;
    qsizetype kept = 0;
    for (const auto& [from, to] : RtfPictureGroups(Rtf)) {
        out += Rtf.mid(kept, from - kept);
        kept = to;
    }
    return out + Rtf.mid(kept);
}

// Pixels that are not white on every page of a PDF, drawn at Dpi.
qint64 PdfInk(const QString& Pdf, int Dpi, QString& Error) {
    QTemporaryDir dir;
    Error = RunReader("pdftoppm", {"-r", QString::number(Dpi), "-png", Pdf, dir.filePath("p")}, nullptr,
                      nullptr, 120000);
    qint64 ink = 0;
    for (const QFileInfo& page : QDir(dir.path()).entryInfoList({"p*.png"}, QDir::Files)) {
        const QImage img = QImage(page.filePath()).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); ++x)
                ink += std::min({qRed(row[x]), qGreen(row[x]), qBlue(row[x])}) < 230;
        }
    }
    return ink;
}

} // namespace

// The corpus files with pictures of every kind: LibreOffice shows the
// pictures of our RTF with at least 0.6 of the ink it shows for the file's
// own. A picture's ink is the page ink with it less the ink without it.
class WriterPictures : public ::testing::TestWithParam<int> {};

TEST_P(WriterPictures, LibreOfficeShowsThePicturesOfOurRTF) {
    if (!QFileInfo(CorpusDir()).isDir()) GTEST_SKIP() << "no corpus at " << CorpusDir().toStdString();
    // Pictures that our documents cannot carry as LibreOffice shows them.
    const std::map<QString, const char*> known = {
        {"libreoffice/sw-core/pass/abi2720.rtf",
         "LibreOffice draws the metafile of its text box many times larger than its given size"},
        {"rtfpipe/Issue39.rtf", "its picture stands in the page header"},
        {"striprtf/rtf/BVWGT_20241227_W258_2227269_1_00_01.rtf",
         "three of its four pictures are drawing shapes in the page headers"},
    };
    QTemporaryDir dir;
    QStringList names, files, withPictures;
    for (const QString& path : CorpusFiles()) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray original = f.readAll();
        if (original.contains("\\emfblip") || original.contains("\\wmetafile") ||
            original.contains("\\pngblip") || original.contains("\\jpegblip"))
            withPictures << path;
    }
    for (const QString& path : FilesOfPart(withPictures, GetParam(), kParts)) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray original = f.readAll();
        TWriterDoc d;
        Import(d);
        if (d.Props.ReadRTFFile(path.toStdString(), &d) != 0) {
            std::printf("%s does not import\n", qPrintable(QDir(CorpusDir()).relativeFilePath(path)));
            continue;
        }
        const std::string s = d.RTF();
        const QByteArray ours(s.data(), static_cast<qsizetype>(s.size()));
        const QString n = QString::number(names.size());
        const std::pair<const char*, QByteArray> variants[] = {
            {"o", original}, {"os", WithoutPictures(original)}, {"u", ours}, {"us", WithoutPictures(ours)}};
        for (const auto& [prefix, bytes] : variants) {
            const QString name = dir.filePath(prefix + n + ".rtf");
            WriteFile(name, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
            files << name;
        }
        names << QDir(CorpusDir()).relativeFilePath(path);
    }
    // At least 15 files in all, a share of them in each part.
    ASSERT_GE(names.size() * kParts, 15);
    QStringList args{"-env:UserInstallation=file://" + dir.filePath("profile"),
                     "--headless",
                     "--convert-to",
                     "pdf",
                     "--outdir",
                     dir.filePath("out")};
    const QString error = RunReader("soffice", args + files, nullptr, nullptr, 600000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (qsizetype i = 0; i < names.size(); ++i) {
        qint64 ink[4] = {-1, -1, -1, -1};
        const char* prefixes[] = {"o", "os", "u", "us"};
        for (int k = 0; k < 4; ++k) {
            const QString pdf = dir.filePath(QString("out/") + prefixes[k] + QString::number(i) + ".pdf");
            if (!QFileInfo::exists(pdf)) continue;
            QString failed;
            ink[k] = PdfInk(pdf, 48, failed);
            ASSERT_TRUE(failed.isEmpty()) << failed.toStdString();
        }
        ASSERT_TRUE(ink[2] >= 0 && ink[3] >= 0)
            << names[i].toStdString() << ": LibreOffice does not read our RTF";
        const qint64 ours = ink[2] - ink[3];
        if (ink[0] < 0) {
            // LibreOffice does not read the file itself: ours shows its pictures at least.
            std::printf("picture ink of %s: original not read by LibreOffice, ours %lld\n",
                        qPrintable(names[i]), static_cast<long long>(ours));
            EXPECT_GT(ours, 0) << names[i].toStdString();
            continue;
        }
        const qint64 theirs = ink[0] - ink[1];
        std::printf("picture ink of %s: original %lld, ours %lld (%.2f)\n", qPrintable(names[i]),
                    static_cast<long long>(theirs), static_cast<long long>(ours),
                    theirs > 0 ? static_cast<double>(ours) / theirs : 0.0);
        if (known.count(names[i]))
            EXPECT_LT(static_cast<double>(ours), 0.6 * static_cast<double>(theirs))
                << names[i].toStdString() << " shows its pictures now: take it off the list";
        else
            EXPECT_GE(static_cast<double>(ours), 0.6 * static_cast<double>(theirs)) << names[i].toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Teil, WriterPictures, ::testing::Range(0, kParts));

// Both writers, with list markers as text and as HTML lists: every page
// parses without an error, and the pages with the markers as text read as
// our own text.
TEST(WriterAcceptance, HTMLParsesAndReadsAsOurText) {
    QTemporaryDir dir;
    std::vector<TCorpusFile> docs = Documents();
    struct TPage {
        size_t Doc;
        bool Compare;
    };
    QStringList files;
    std::vector<TPage> pages;
    for (size_t i = 0; i < docs.size(); ++i)
        for (bool css : {true, false})
            for (TRPHTMLSaveOptions opts : {TRPHTMLSaveOptions(rphsoMarkersAsText), TRPHTMLSaveOptions(0)}) {
                TWriterDoc& d = *docs[i].Doc;
                const std::string prefix = "p" + std::to_string(i) + "_";
                const std::string path = dir.path().toStdString() + "/";
                std::string html;
                int n = 0;
                TColor cur = clNone;
                if (css)
                    ASSERT_TRUE(d.SaveHTMLWithCSSToStream(html, path, docs[i].Name.toStdString(), prefix, "", "", "", opts,
                                                          clNone, cur, n, 0, 0, 0, 0, nullptr, nullptr));
                else
                    ASSERT_TRUE(d.SaveHTMLToStream(html, path, docs[i].Name.toStdString(), prefix, opts, clNone, n, 0, 0,
                                                   0, 0, nullptr, nullptr));
                const QString name = dir.filePath(QString::number(i) + (css ? "css" : "classic") +
                                                  (opts ? "text" : "lists") + ".html");
                WriteFile(name, html);
                files << name;
                pages.push_back({i, opts != 0});
            }
    QByteArray out, err;
    const QString error = RunReader("xmllint", QStringList{"--html", "--xpath", "concat(string(/html/body), '@@END@@')"} + files,
                              &out, &err, 120000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(err.toStdString(), "");
    QStringList texts = QString::fromUtf8(out).split(QStringLiteral("@@END@@"));
    ASSERT_EQ(static_cast<size_t>(texts.size()), pages.size() + 1);
    for (size_t k = 0; k < pages.size(); ++k) {
        if (!pages[k].Compare) continue;
        TCorpusFile& f = docs[pages[k].Doc];
        const QString theirs = Normalised(texts[static_cast<int>(k)]), ours = Normalised(OurText(*f.Doc));
        EXPECT_EQ(theirs, ours) << f.Name.toStdString() << " (" << files[static_cast<int>(k)].toStdString()
                                << ") differs at: " << Difference(theirs, ours);
    }
}
