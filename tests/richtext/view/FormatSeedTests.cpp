// The format fuzz target's seeds in the suite's stream format are its RTF
// seeds as the log book keeps them, written by the program's own writer
// (PRAVOLIN_WRITE_FORMAT_SEEDS=1 in the environment writes them anew, with
// list ids drawn anew: keep those that did not change otherwise). Each
// reads back into the document its RTF twin makes: a reader that no longer
// takes what an earlier program wrote fails here.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "richtext/view/RichPad.h"

namespace {

const QString SeedDir = QStringLiteral(PRAVOLIN_SOURCE_DIR "/fuzz/corpus/document_format");

// What the log book writes.
constexpr TRPFOptions LogOptions = rpfoSavePicturesBody | rpfoSaveControlsBody | rpfoSaveBinary |
                                   rpfoSaveTextStyles | rpfoSaveParaStyles | rpfoSaveDocProperties |
                                   rpfoLoadDocProperties;

// The plain text of a document and the kinds of its items: '.' for a run of
// text, the style number of any other item.
std::string Contents(TCustomRichPad& View) {
    std::string s;
    EXPECT_TRUE(View.SaveTextToStream("", s, 80, false, false));
    s += "\n";
    for (int i = 0; i < View.ItemCount(); ++i) {
        const int style = View.GetItemStyle(i);
        s += style >= 0 ? std::string(".") : " " + std::to_string(style) + " ";
    }
    return s;
}

} // namespace

TEST(FormatSeeds, EachStreamReadsAsTheDocumentOfItsRTFTwin) {
    const QStringList rtfs = QDir(SeedDir).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    ASSERT_GE(rtfs.size(), 6);
    const bool write = qEnvironmentVariableIsSet("PRAVOLIN_WRITE_FORMAT_SEEDS");
    for (const QString& name : rtfs) {
        SCOPED_TRACE(name.toStdString());
        TRPStyle style;
        TRichPad fromRtf(nullptr);
        fromRtf.SetStyle(&style);
        fromRtf.GetRTFReadProperties()->UnicodeMode = rpruMixed;
        fromRtf.GetRTFReadProperties()->TextStyleMode = rprsAddIfNeeded;
        fromRtf.GetRTFReadProperties()->ParaStyleMode = rprsAddIfNeeded;
        fromRtf.RPFOptions = LogOptions;
        ASSERT_TRUE(fromRtf.LoadRTF((SeedDir + QLatin1Char('/') + name).toStdString()));
        QFile rpf(SeedDir + QLatin1Char('/') +
                  QString(name).replace(QStringLiteral(".rtf"), QStringLiteral(".rpf")));
        if (write) {
            std::string stream;
            ASSERT_TRUE(fromRtf.SaveRPFToStream(stream, false));
            ASSERT_TRUE(rpf.open(QIODevice::WriteOnly | QIODevice::Truncate));
            rpf.write(stream.data(), static_cast<qint64>(stream.size()));
            rpf.close();
        }
        ASSERT_TRUE(rpf.open(QIODevice::ReadOnly));
        TRPStyle other;
        TRichPad fromRpf(nullptr);
        fromRpf.SetStyle(&other);
        fromRpf.RPFOptions = LogOptions;
        ASSERT_TRUE(fromRpf.LoadRPFFromStream(rpf.readAll().toStdString()));
        EXPECT_EQ(Contents(fromRpf), Contents(fromRtf));
        EXPECT_EQ(other.TextStyles().Count(), style.TextStyles().Count());
        EXPECT_EQ(other.ParaStyles().Count(), style.ParaStyles().Count());
    }
}
