// The print component and its hidden printable control: assigning the
// source, pagination for the printer and the print loop with its copies.
#include "richtext/view/RPPrint.h"

#include <exception>

#include "platform/Pictures.h"
#include "platform/Printer.h"
#include "richtext/model/RPFTokens.h"

namespace {

std::unique_ptr<TRichPadRPData> MakePrintableData(TCustomRichPad* Owner) {
    return std::make_unique<TPrintableRPData>(Owner);
}

// Formatting for paper: no jump areas, controls stay where they are, items
// make their own printing draw items, and the printing layout applies.
constexpr uint16_t PrintableFlags(uint16_t Flags) {
    return static_cast<uint16_t>((Flags & ~rpflRecordJumps) | rpflNoControlMoving | rpflPrintingDrawItems |
                                 rpflPrintLayout);
}

} // namespace

// ---------------------------------------------------------------------------
// The printable control

TCustomPrintableRP::TCustomPrintableRP(TComponent* AOwner, TDataClass DataClass)
    : TCustomRichPad(AOwner, DataClass) {
    SetVisible(false);
    DocFlags = PrintableFlags(DocFlags);
    TopMargin = 0;
    BottomMargin = 0;
    SetBorderStyle(bsNone);
    PrintData()->OnFormattingStep = [this](int PageCompleted, TRPPrintingStep Step) {
        if (OnFormatting) OnFormatting(this, PageCompleted, Step);
    };
}

int TCustomPrintableRP::FormatPages() {
    TCustomMainPtblRPData* data = PrintData();
    data->State |= rpstFormatting;
    SetVScrollVisible(false);
    SetHScrollVisible(false);
    data->State &= ~rpstFormatting;
    return data->FormatPages();
}

void TCustomPrintableRP::ApplyLayout(const TRPLayoutInfo& Layout) {
    TCustomRichPad::ApplyLayout(Layout);
    TCustomMainPtblRPData* data = PrintData();
    if (Layout.FirstParaListNo >= 0) {
        data->InheritedListNo = Layout.FirstParaListNo;
        data->InheritedListLevelNo = Layout.FirstParaListLevel;
        data->State |= rpstInheritedListLevel;
    } else {
        data->InheritedListNo = data->InheritedListLevelNo = -1;
        data->State &= ~rpstInheritedListLevel;
    }
    if (Layout.LastParaPartial)
        data->State |= rpstFinalLineContinues;
    else
        data->State &= ~rpstFinalLineContinues;
}

void TCustomPrintableRP::DrawPage(int PageNo, TCanvas& Canvas, bool Preview, bool Correction) {
    PrintData()->DrawPage(PageNo, Canvas, Preview, Correction);
}

bool TCustomPrintableRP::Print(const QString& Title, int Copies, bool Collate) {
    return PrintPages(1, PrintData()->PageCount(), Title, Copies, Collate);
}

bool TCustomPrintableRP::PrintPages(int FirstPage, int LastPage, const QString& Title, int Copies,
                                    bool Collate) {
    LastError.clear();
    if (LastPage < FirstPage) return true;
    if (OnSendingToPrinter) OnSendingToPrinter(this, 0, rppsStarting);
    TPrinter* printer = Printer();
    printer->SetTitle(Title);
    Copies = std::max(1, Copies);
    const int oldCopies = printer->Copies();
    const bool driverCopies = printer->SupportsCopies();
    const int passes = driverCopies ? 1 : Copies;
    printer->SetCopies(driverCopies ? Copies : 1);
    if (!printer->BeginDoc()) {
        printer->SetCopies(oldCopies);
        LastError = printer->LastError();
        return false;
    }
    bool ok = false;
    try {
        bool first = true;
        const auto printPage = [&](int PageNo) {
            if (!first) printer->NewPage();
            first = false;
            DrawPage(PageNo, *printer->Canvas(), false, false);
            if (OnSendingToPrinter) OnSendingToPrinter(this, PageNo, rppsPageCompleted);
        };
        if (Collate) {
            for (int pass = 0; pass < passes; ++pass)
                for (int p = FirstPage; p <= LastPage; ++p)
                    printPage(p);
        } else {
            for (int p = FirstPage; p <= LastPage; ++p)
                for (int pass = 0; pass < passes; ++pass)
                    printPage(p);
        }
        ok = printer->EndDoc();
        if (!ok) LastError = printer->LastError();
    } catch (const std::exception& e) {
        LastError = QString::fromStdString(e.what());
    } catch (...) {
        LastError = QStringLiteral("printing failed");
    }
    // Half a job is no job: drop it and leave the printer as it was.
    if (!ok) printer->Abort();
    printer->SetCopies(oldCopies);
    if (!ok) return false;
    if (OnSendingToPrinter) OnSendingToPrinter(this, 0, rppsFinished);
    return true;
}

std::unique_ptr<TBitmap> TCustomMainPtblRPData::GetControlImageForPrinting(TControl* Control) {
    auto* rp = dynamic_cast<TCustomPrintableRP*>(OwnerView);
    if (rp && rp->RPPrint && rp->RPPrint->OnPrintComponent) {
        TBitmap* image = nullptr;
        rp->RPPrint->OnPrintComponent(rp->RPPrint, Control, image);
        // The picture the handler made is ours to free.
        if (image) return std::unique_ptr<TBitmap>(image);
    }
    return TCustomPrintableRPData::GetControlImageForPrinting(Control);
}

TPrintableRP::TPrintableRP(TComponent* AOwner) : TCustomPrintableRP(AOwner, &MakePrintableData) {}

// ---------------------------------------------------------------------------
// The component

TCustomRPPrint::TCustomRPPrint(TComponent* AOwner) : TComponent(AOwner) {}

TCustomRPPrint::~TCustomRPPrint() {
    ReleaseSource();
}

void TCustomRPPrint::SetPrintableRP(TCustomPrintableRP* RP) {
    m_rp = RP;
    m_rp->RPPrint = this;
    m_rp->PrintData()->ColorMode = rpcmPrinterColor;
}

bool TCustomRPPrint::TransparentBackground() const {
    return m_rp->PrintData()->TransparentBackground;
}

void TCustomRPPrint::SetTransparentBackground(bool Value) {
    m_rp->PrintData()->TransparentBackground = Value;
}

TRPColorMode TCustomRPPrint::ColorMode() const {
    return m_rp->PrintData()->ColorMode;
}

void TCustomRPPrint::SetColorMode(TRPColorMode Value) {
    m_rp->PrintData()->ColorMode = Value;
}

void TCustomRPPrint::Loaded() {
    if (m_rp) m_rp->Loaded();
}

void TCustomRPPrint::AssignSource(TCustomRichPad* Source) {
    if (!m_rp || !Source) return;
    TCustomMainPtblRPData* data = m_rp->PrintData();
    data->ShareItemsFrom(*Source->RPData());
    data->State |= rpstFormatting;
    m_rp->LeftMargin = Source->LeftMargin;
    m_rp->RightMargin = Source->RightMargin;
    m_rp->TopMargin = 0;
    m_rp->BottomMargin = 0;
    data->SourceTopMargin = Source->TopMargin;
    data->SourceBottomMargin = Source->BottomMargin;
    m_rp->SetStyle(Source->Style());
    m_rp->SetDoInPaletteMode(Source->DoInPaletteMode);
    if (Source->BackgroundBitmap())
        m_rp->Background->AssignImage(Source->BackgroundBitmap(), data, true);
    else
        m_rp->Background->FreeImage();
    m_rp->Background->Style = Source->BackgroundStyle();
    m_rp->SetColor(Source->Color());
    m_rp->SetBiDiMode(Source->BiDiMode);
    data->State &= ~rpstFormatting;
}

void TCustomRPPrint::FormatPages() {
    if (m_rp) m_rp->FormatPages();
}

int TCustomRPPrint::GetPagesCount() const {
    return m_rp ? m_rp->PrintData()->PageCount() : 0;
}

bool TCustomRPPrint::Print(const QString& Title, int Copies, bool Collate) {
    if (!m_rp) return false;
    // The view may change or go away after printing: the copy lets go of its items.
    struct TRelease {
        TCustomRPPrint* Self;
        ~TRelease() { Self->ReleaseSource(); }
    } release{this};
    return m_rp->Print(Title, Copies, Collate);
}

void TCustomRPPrint::ReleaseSource() {
    if (m_rp) m_rp->PrintData()->Detach();
}

TRPPrint::TRPPrint(TComponent* AOwner) : TCustomRPPrint(AOwner) {
    auto* rp = new TPrintableRP(this);
    // The hidden control lives on the form that holds the component.
    if (auto* form = dynamic_cast<TWinControl*>(AOwner)) rp->SetParent(form);
    SetPrintableRP(rp);
    rp->OnFormatting = [this](TCustomRichPad* Sender, int Page, TRPPrintingStep Step) {
        if (OnFormatting) OnFormatting(Sender, Page, Step);
    };
    rp->OnSendingToPrinter = [this](TCustomRichPad* Sender, int Page, TRPPrintingStep Step) {
        if (OnSendingToPrinter) OnSendingToPrinter(Sender, Page, Step);
    };
    TPrintableRPData* data = rp->PageData();
    data->OnPagePrepaint = [this](int PageNo, TCanvas& Canvas, bool Preview, const TRect& Page,
                                  const TRect& Area) {
        if (OnPagePrepaint) OnPagePrepaint(this, PageNo, &Canvas, Preview, Page, Area);
    };
    data->OnPagePostpaint = [this](int PageNo, TCanvas& Canvas, bool Preview, const TRect& Page,
                                   const TRect& Area) {
        if (OnPagePostpaint) OnPagePostpaint(this, PageNo, &Canvas, Preview, Page, Area);
    };
    SetLeftMarginMM(20);
    SetRightMarginMM(20);
    SetTopMarginMM(20);
    SetBottomMarginMM(20);
}
