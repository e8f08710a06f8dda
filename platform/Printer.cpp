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
    if (m_printing) return false;
    if (m_outputFileName.isEmpty()) {
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (names.isEmpty()) return false;
        m_printer->setOutputFormat(QPrinter::NativeFormat);
        const QString name = (m_printerIndex >= 0 && m_printerIndex < names.size())
                                 ? names[m_printerIndex]
                                 : QPrinterInfo::defaultPrinterName();
        if (!name.isEmpty()) m_printer->setPrinterName(name);
    } else {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_outputFileName);
    }
    m_printer->setResolution(kPrinterResolution);
    m_printer->setDocName(m_title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
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
    m_printer->newPage();
    ++m_pageNumber;
    m_canvas->SetPenPos({0, 0});
}

void TPrinter::EndDoc() {
    if (!m_printing) return;
    m_canvas->SetPainter(nullptr);
    m_painter->end();
    m_painter.reset();
    m_printing = false;
    m_pageNumber = 0;
}

void TPrinter::Abort() {
    if (!m_printing) return;
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
