#pragma once
// What the printing tests share: a view with the layout tests' styles, the
// program's printer set to print A4 into a PDF file of the test's own, and
// the text of a printed PDF read back page by page by poppler's pdftotext.
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/Printer.h"
#include "richtext/view/RPPrint.h"
#include "support/FixedMetrics.h"
#include "support/PdfPrinter.h"
#include "support/Readers.h"

// The pages of a PDF as pdftotext reads them (form feeds between pages).
inline QStringList PdfPages(const QString& Pdf) {
    QStringList pages;
    const QString error = PdfTextPages(Pdf, pages);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    for (QString& s : pages)
        s = s.simplified();
    return pages;
}

// Real fonts and metrics: what is printed is what pdftotext reads back.
class PrintToPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PdfPrinter.Dir.isValid());
        View.SetStyle(Style.get());
    }
    // Lines "Zeile 1" .. "Zeile N", one paragraph each, in text style 0.
    void AddLines(int N, int From = 1) {
        for (int i = From; i < From + N; ++i)
            View.AddText("Zeile " + std::to_string(i), 0, 0);
    }
    // An RTF file in the view, with the styles it brings added to Style.
    bool LoadFile(TRPStyle& Style, const QString& File) {
        View.Clear();
        View.SetStyle(&Style);
        View.GetRTFReadProperties()->TextStyleMode = rprsAddIfNeeded;
        View.GetRTFReadProperties()->ParaStyleMode = rprsAddIfNeeded;
        return View.LoadRTF(File.toStdString());
    }
    std::vector<int> PageStarts() const {
        std::vector<int> v;
        const TRPPageCollection& pages = Print.Data()->Pages;
        for (int i = 0; i < pages.Count(); ++i)
            v.push_back(pages.GetItem(i)->StartDrawItemNo);
        return v;
    }
    std::vector<int> PageStartYs() const {
        std::vector<int> v;
        const TRPPageCollection& pages = Print.Data()->Pages;
        for (int i = 0; i < pages.Count(); ++i)
            v.push_back(pages.GetItem(i)->StartY);
        return v;
    }

    std::unique_ptr<TRPStyle> Style = MakeLayoutStyle();
    TRichPad View{nullptr};
    TRPPrint Print{nullptr};
    TPdfPrinter PdfPrinter{QStringLiteral("druck.pdf")};
    const QString& Pdf = PdfPrinter.Pdf;
};

// Fixed metrics for exact positions.
class PrintTest : public PrintToPdfTest {
protected:
    FixedMetricsScope Metrics;
};
