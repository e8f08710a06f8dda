// The printer's paper, unprintable border, copies and the reasons a job cannot start.
#include "platform/Printer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PrinterSettings, PaperAndBorderInMillimetres) {
    TPrinter printer;
    printer.SetPageSizeMM(100, 50);
    printer.SetUnprintableMM(10, 5, 0, 0);
    // 600 dpi: 100 mm are 2362 pixels, 10 mm 236; paper sizes of their own
    // are kept in whole points (8 pixels here).
    EXPECT_NEAR(printer.PhysicalWidth(), 2362, 8);
    EXPECT_NEAR(printer.PhysicalHeight(), 1181, 8);
    EXPECT_NEAR(printer.PhysicalOffsetX(), 236, 8);
    EXPECT_NEAR(printer.PhysicalOffsetY(), 118, 8);
    // The printable area reaches the right and bottom edges.
    EXPECT_EQ(printer.PageWidth(), printer.PhysicalWidth() - printer.PhysicalOffsetX());
    EXPECT_EQ(printer.PageHeight(), printer.PhysicalHeight() - printer.PhysicalOffsetY());
    printer.SetPageSizeMM(210, 297);
    printer.SetUnprintableMM(0, 0, 0, 0);
    EXPECT_NEAR(printer.PhysicalWidth(), 4961, 8);
    EXPECT_EQ(printer.PageHeight(), printer.PhysicalHeight());
}

TEST(PrinterSettings, PdfFilesGetTheirCopiesFromUs) {
    QTemporaryDir dir;
    TPrinter printer;
    printer.SetOutputFileName(dir.filePath(QStringLiteral("a.pdf")));
    EXPECT_FALSE(printer.SupportsCopies());
    printer.CopySupportOverride = 1;
    EXPECT_TRUE(printer.SupportsCopies());
    printer.SetCopies(0);
    EXPECT_EQ(printer.Copies(), 1);
}

TEST(PrinterSettings, JobsThatCannotStartSayWhy) {
    QTemporaryDir dir;
    TPrinter printer;
    printer.SetOutputFileName(dir.filePath(QStringLiteral("fehlt/a.pdf")));
    EXPECT_FALSE(printer.BeginDoc());
    EXPECT_EQ(printer.LastError(), QStringLiteral("the printer refused to start the document"));
    EXPECT_FALSE(printer.Printing());
    printer.SetOutputFileName(dir.filePath(QStringLiteral("a.pdf")));
    ASSERT_TRUE(printer.BeginDoc());
    EXPECT_TRUE(printer.LastError().isEmpty());
    EXPECT_FALSE(printer.BeginDoc());
    EXPECT_EQ(printer.LastError(), QStringLiteral("the printer is busy with another document"));
    EXPECT_TRUE(printer.EndDoc());
    // Nothing to end.
    EXPECT_FALSE(printer.EndDoc());
}
