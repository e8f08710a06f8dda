#pragma once
// The reference the printing benchmarks measure beside the program: Qt's own
// rich-text document printed into a PDF file at the program's 600 dpi.
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QTextDocument>

inline void PrintWithQt(QTextDocument& Doc, const QString& Pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(600);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    Doc.print(&printer);
}
