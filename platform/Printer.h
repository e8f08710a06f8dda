#pragma once
// The printer: one for the program, printing through QPrinter. Tests print
// into a PDF file (SetOutputFileName).
//
//   TPrinter* p = Printer();
//   p->SetTitle("Arbeitsblatt");
//   if (p->BeginDoc()) {
//       p->Canvas()->TextOut(100, 100, "Seite 1");
//       p->NewPage();
//       ...
//       p->EndDoc();
//   }
#include "platform/Graphics.h"

#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // False when no printer or file can take the document (LastError says why).
    bool BeginDoc();
    void NewPage();
    // False when the finished document could not be handed over.
    bool EndDoc();
    QString LastError() const { return m_lastError; }
    void Abort();
    bool Printing() const { return m_printing; }
    bool Aborted() const { return m_aborted; }
    int PageNumber() const { return m_pageNumber; }
    // The canvas of the page being printed (without a document: a canvas
    // without surface that still measures text at the printer's resolution).
    TCanvas* Canvas();

    // Printable area and resolution in device pixels.
    int PageWidth() const;
    int PageHeight() const;
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;
    // The whole sheet and the offset of the printable area on it.
    int PhysicalWidth() const;
    int PhysicalHeight() const;
    int PhysicalOffsetX() const;
    int PhysicalOffsetY() const;

    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    int Copies() const;
    void SetCopies(int copies);
    // Whether the driver makes the copies itself (PDF files: no).
    bool SupportsCopies() const;
    // Tests pretend a driver that makes copies: 1 yes, 0 no, -1 ask the driver.
    int CopySupportOverride = -1;
    // Paper size in millimetres, and the border the device cannot print on.
    void SetPageSizeMM(double width, double height);
    void SetUnprintableMM(double left, double top, double right, double bottom);
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation o); // ignored while printing

    // Installed printers; with an output file set, "PDF" is the only one.
    QStringList Printers() const;
    int PrinterIndex() const { return m_printerIndex; }
    void SetPrinterIndex(int index); // -1: the default printer

    // Prints into this PDF file instead of a printer (empty: a printer again).
    void SetOutputFileName(const QString& fileName);
    QString OutputFileName() const { return m_outputFileName; }

    QPrinter* QtPrinter() { return m_printer.get(); }

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<class QPainter> m_painter;
    std::unique_ptr<TCanvas> m_canvas;
    QString m_title;
    QString m_outputFileName;
    QString m_lastError;
    int m_printerIndex = -1;
    int m_pageNumber = 0;
    bool m_printing = false;
    bool m_aborted = false;
};

// The program's printer.
TPrinter* Printer();
