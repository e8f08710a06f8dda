// The print buttons of the section forms: the shown page and the log book go
// to the printer (here a PDF file read back by pdftotext).
#include "ShellTestHelfer.h"
#include "platform/CodePage.h"
#include "platform/Printer.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/view/RichPad.h"
#include "shell/UAbschnitte.h"
#include "support/FormDriver.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Letters and digits of every page of a PDF, one string per page.
QStringList PdfLetters(const QString& Pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {Pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << "pdftotext failed on " << Pdf.toStdString();
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    for (QString& s : pages)
        s.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
    return pages;
}

class PrintButtons : public ::testing::Test {
protected:
    void SetUp() override {
        ShellFormenEinrichten();
        ASSERT_TRUE(Dir.isValid());
        Pdf = Dir.filePath(QStringLiteral("seite.pdf"));
        Printer()->SetOutputFileName(Pdf);
        Printer()->SetPageSizeMM(210, 297);
    }
    void TearDown() override { Printer()->SetOutputFileName(QString()); }
    QTemporaryDir Dir;
    QString Pdf;
    DialogResponder Antworten;
};

} // namespace

TEST_F(PrintButtons, PagePrintsTheShownPageAndTheBackgroundComesBack) {
    KxNav->AktSeite = 1;
    const std::unique_ptr<TKxNav> F(AbschnittsformErzeugen("TZqK1_3", nullptr));
    ASSERT_TRUE(F);
    F->FormActivate(nullptr);
    ASSERT_GT(F->Webbrowserx->ItemCount(), 0);
    QString Text;
    // The page's text and its list numbers.
    for (int i = 0; i < F->Webbrowserx->ItemCount(); ++i)
        if (F->Webbrowserx->GetItemStyle(i) >= 0)
            Text += QString::fromLatin1(F->Webbrowserx->GetItemText(i));
        else if (auto* m = dynamic_cast<TRPMarkerItemInfo*>(F->Webbrowserx->GetItem(i)))
            Text += QString::fromLatin1(m->DisplayString);
    Text.removeIf([](QChar c) { return !c.isLetterOrNumber(); });

    // Cancelled: nothing printed.
    Antworten.QueuePrinterSetup(false);
    F->SpeedButton7->Click();
    EXPECT_FALSE(QFileInfo::exists(Pdf));
    EXPECT_EQ(F->Webbrowserx->BackgroundStyle(), bsTiled);

    Antworten.QueuePrinterSetup(true);
    F->SpeedButton7->Click();
    EXPECT_EQ(PdfLetters(Pdf).join(QString()), Text);
    // The printed pages as pictures to look at.
    const QString Galerie = QStringLiteral(PRAVOLIN_TEST_OUTPUT "/print-gallery");
    QDir().mkpath(Galerie);
    QProcess ppm;
    ppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"),
                                           Pdf, Galerie + QStringLiteral("/ZqK1_3A")});
    ASSERT_TRUE(ppm.waitForFinished(60000));
    EXPECT_EQ(ppm.exitCode(), 0);
    EXPECT_EQ(F->Webbrowserx->BackgroundStyle(), bsTiled);
    EXPECT_EQ(Printer()->Title(), QStringLiteral("Pravolin - Grundschule"));
    EXPECT_TRUE(Antworten.MessageTexts().isEmpty());
    // The page view keeps its document.
    EXPECT_GT(F->Webbrowserx->ItemCount(), 0);
}

TEST_F(PrintButtons, LogPrintsTheLogBook) {
    const std::unique_ptr<TKxNav> F(AbschnittsformErzeugen("TZqK1_3", nullptr));
    ASSERT_TRUE(F);
    EXPECT_EQ(F->LogbuchDrucken->Caption(), QStringLiteral("Logbuch drucken"));
    EXPECT_EQ(F->LogbuchDrucken->Left(), 438);
    KxNav->LogbuchBeginnen(QStringLiteral("Logbuch von Jörg"));
    KxNav->Logtext->AddText(CodePage::ToCp1252(QStringLiteral("1.3 Schriftliches Rechnen: Übung 1")), 0, 0);
    // The log panel prints the copy it shows.
    F->LogButton->Click();
    Antworten.QueuePrinterSetup(true);
    F->LogbuchDrucken->Click();
    EXPECT_EQ(PdfLetters(Pdf), QStringList{QStringLiteral("LogbuchvonJörg13SchriftlichesRechnenÜbung1")});
    EXPECT_EQ(Printer()->Title(), QStringLiteral("Logbuch"));
    KxNav->LogbuchBeginnen(QString());
}

TEST_F(PrintButtons, APrinterThatRefusesTheJobIsReported) {
    Printer()->SetOutputFileName(Dir.filePath(QStringLiteral("fehlt/seite.pdf")));
    const std::unique_ptr<TKxNav> F(AbschnittsformErzeugen("TZqK1_3", nullptr));
    ASSERT_TRUE(F);
    F->FormActivate(nullptr);
    Antworten.QueuePrinterSetup(true);
    Antworten.QueueButton(mrOk);
    F->SpeedButton7->Click();
    EXPECT_EQ(Antworten.MessageTexts(), QStringList{QStringLiteral("Das Drucken ist fehlgeschlagen.")});
    EXPECT_EQ(F->Webbrowserx->BackgroundStyle(), bsTiled);
}
