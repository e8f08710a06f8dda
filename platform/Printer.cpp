#include "platform/Printer.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

constexpr int kPrinterResolution = 600;

} // namespace

TPrinter::TPrinter() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_printer->setResolution(kPrinterResolution);
    m_printer->setFullPage(false);
}

TPrinter::~TPrinter() {
    if (m_printing) Abort();
}

bool TPrinter::BeginDoc() {
    m_lastError.clear();
    if (m_printing) {
        m_lastError = QStringLiteral("the printer is busy with another document");
        return false;
    }
    // The print dialog may have chosen a PDF file in place of a printer.
    const bool dialogFile = m_outputFileName.isEmpty() && m_printer->outputFormat() == QPrinter::PdfFormat &&
                            !m_printer->outputFileName().isEmpty();
    if (!m_outputFileName.isEmpty()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_outputFileName);
    } else if (!dialogFile) {
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (names.isEmpty()) {
            m_lastError = QStringLiteral("no printer is installed");
            return false;
        }
        m_printer->setOutputFormat(QPrinter::NativeFormat);
        const QString name = (m_printerIndex >= 0 && m_printerIndex < names.size())
                                 ? names[m_printerIndex]
                                 : QPrinterInfo::defaultPrinterName();
        if (!name.isEmpty()) m_printer->setPrinterName(name);
    }
    m_printer->setResolution(kPrinterResolution);
    m_printer->setDocName(m_title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        m_lastError = QStringLiteral("the printer refused to start the document");
        return false;
    }
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    Canvas();
    m_canvas->SetPainter(m_painter.get());
    m_printing = true;
    m_aborted = false;
    m_pageNumber = 1;
    return true;
}

void TPrinter::NewPage() {
    if (!m_printing) return;
    m_canvas->Flush();
    m_printer->newPage();
    ++m_pageNumber;
    m_canvas->SetPenPos({0, 0});
}

bool TPrinter::EndDoc() {
    if (!m_printing) return false;
    m_canvas->SetPainter(nullptr);
    const bool ok = m_painter->end();
    m_painter.reset();
    m_printing = false;
    m_pageNumber = 0;
    if (!ok || m_printer->printerState() == QPrinter::Error) {
        m_lastError = QStringLiteral("the printer did not take the document");
        return false;
    }
    return true;
}

void TPrinter::Abort() {
    if (!m_printing) return;
    m_canvas->Flush(); // nothing is drawn into a document after its abort
    m_printer->abort();
    m_canvas->SetPainter(nullptr);
    if (m_painter->isActive()) m_painter->end();
    m_painter.reset();
    m_printing = false;
    m_aborted = true;
    m_pageNumber = 0;
}

TCanvas* TPrinter::Canvas() {
    if (!m_canvas) {
        m_canvas = std::make_unique<TCanvas>();
        // Keep the point size at the printer's resolution.
        const int size = m_canvas->Font()->Size();
        m_canvas->Font()->SetPixelsPerInch(PixelsPerInchY());
        m_canvas->Font()->SetSize(size);
    }
    return m_canvas.get();
}

int TPrinter::PageWidth() const {
    return m_printer->width();
}
int TPrinter::PageHeight() const {
    return m_printer->height();
}
int TPrinter::PixelsPerInchX() const {
    return m_printer->logicalDpiX();
}
int TPrinter::PixelsPerInchY() const {
    return m_printer->logicalDpiY();
}

int TPrinter::PhysicalWidth() const {
    return m_printer->pageLayout().fullRectPixels(m_printer->resolution()).width();
}

int TPrinter::PhysicalHeight() const {
    return m_printer->pageLayout().fullRectPixels(m_printer->resolution()).height();
}

int TPrinter::PhysicalOffsetX() const {
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).left();
}

int TPrinter::PhysicalOffsetY() const {
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).top();
}

int TPrinter::Copies() const {
    return m_printer->copyCount();
}

void TPrinter::SetCopies(int copies) {
    m_printer->setCopyCount(std::max(1, copies));
}

bool TPrinter::SupportsCopies() const {
    if (CopySupportOverride >= 0) return CopySupportOverride != 0;
    return m_printer->outputFormat() != QPrinter::PdfFormat && m_outputFileName.isEmpty() &&
           m_printer->supportsMultipleCopies();
}

void TPrinter::SetPageSizeMM(double width, double height) {
    if (m_printing) return;
    m_printer->setPageSize(QPageSize(QSizeF(width, height), QPageSize::Millimeter));
}

void TPrinter::SetUnprintableMM(double left, double top, double right, double bottom) {
    if (m_printing) return;
    m_printer->setPageMargins(QMarginsF(left, top, right, bottom), QPageLayout::Millimeter);
}

TPrinterOrientation TPrinter::Orientation() const {
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation o) {
    if (m_printing) return;
    m_printer->setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QStringList TPrinter::Printers() const {
    if (!m_outputFileName.isEmpty()) return {QStringLiteral("PDF")};
    return QPrinterInfo::availablePrinterNames();
}

void TPrinter::SetPrinterIndex(int index) {
    if (m_printing) return;
    m_printerIndex = (index >= 0 && index < Printers().size()) ? index : -1;
}

void TPrinter::SetOutputFileName(const QString& fileName) {
    if (m_printing) return;
    m_outputFileName = fileName;
    if (fileName.isEmpty()) m_printer->setOutputFileName(QString()); // back to the printer
    m_printerIndex = m_outputFileName.isEmpty() ? -1 : 0;
}

namespace {

TPrinter* g_printer = nullptr;

} // namespace

TPrinter* Printer() {
    // The printer goes with the application object, before Qt shuts down.
    if (!g_printer) {
        g_printer = new TPrinter;
        qAddPostRoutine([] {
            delete g_printer;
            g_printer = nullptr;
        });
    }
    return g_printer;
}
