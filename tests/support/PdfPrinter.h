#pragma once
// The program's printer set to print A4 without margins into a PDF file in a
// folder of its own, for as long as the object lives.
#include <QString>
#include <QTemporaryDir>

#include "platform/Printer.h"

class TPdfPrinter {
public:
    explicit TPdfPrinter(const QString& FileName) : Pdf(Dir.filePath(FileName)) {
        TPrinter* p = Printer();
        p->SetOutputFileName(Pdf);
        p->SetPageSizeMM(210, 297);
        p->SetUnprintableMM(0, 0, 0, 0);
        p->CopySupportOverride = 0;
        p->SetCopies(1);
    }
    ~TPdfPrinter() {
        Printer()->SetOutputFileName(QString());
        Printer()->CopySupportOverride = -1;
    }
    TPdfPrinter(const TPdfPrinter&) = delete;
    TPdfPrinter& operator=(const TPdfPrinter&) = delete;

    QTemporaryDir Dir;
    const QString Pdf;
};
