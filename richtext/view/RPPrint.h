#pragma once
// Printing a rich-text control: the print component keeps a hidden printable
// control that shows the source control's items, formats them for the
// printer, cuts them into pages and draws the pages on the printer.
//
//   TRPPrint print(form);               // margins of 20 mm
//   print.AssignSource(view);
//   print.FormatPages();
//   if (print.GetPagesCount() > 0 && !print.Print("Logbuch", 1, false))
//       ShowMessage(print.LastError());
#include <functional>

#include "richtext/view/RPPrintableData.h"
#include "richtext/view/RichPad.h"

class TCustomRPPrint;
class TRPPrint;
class TPrinter;

// May give a picture of a control to print in its place (made with new; the
// component frees it); left nullptr, the control's own image is used.
using TRPPrintComponentEvent =
    std::function<void(TCustomRPPrint* Sender, TControl* PrintMe, TBitmap*& ComponentImage)>;
using TRPPrintingEvent = std::function<void(TCustomRichPad* Sender, int PageCompleted, TRPPrintingStep Step)>;
using TRPPagePrepaintEvent = std::function<void(TRPPrint* Sender, int PageNo, TCanvas* Canvas, bool Preview,
                                                const TRect& PageRect, const TRect& PrintAreaRect)>;

// The hidden control whose document is printed.
class TCustomPrintableRP : public TCustomRichPad {
public:
    TCustomPrintableRP(TComponent* AOwner, TDataClass DataClass);
    QString ClassName() const override { return QStringLiteral("TCustomPrintableRP"); }

    TCustomRPPrint* RPPrint = nullptr;

    TCustomMainPtblRPData* PrintData() const { return static_cast<TCustomMainPtblRPData*>(RPData()); }
    // Formats for the printer and cuts pages; answers the page count.
    int FormatPages();
    // False when the printer could not print (the reason in LastError).
    bool PrintPages(int FirstPage, int LastPage, const QString& Title, int Copies, bool Collate);
    bool Print(const QString& Title, int Copies, bool Collate);
    void DrawPage(int PageNo, TCanvas& Canvas, bool Preview, bool Correction);
    void ApplyLayout(const TRPLayoutInfo& Layout) override;

    TRPPrintingEvent OnFormatting;
    TRPPrintingEvent OnSendingToPrinter;
    QString LastError;
};

class TPrintableRP : public TCustomPrintableRP {
public:
    explicit TPrintableRP(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TPrintableRP"); }
    TPrintableRPData* PageData() const { return static_cast<TPrintableRPData*>(RPData()); }
};

class TCustomRPPrint : public TComponent {
public:
    explicit TCustomRPPrint(TComponent* AOwner);
    ~TCustomRPPrint() override;
    QString ClassName() const override { return QStringLiteral("TCustomRPPrint"); }

    // Kept for the form resources; printing does not read it.
    bool PreviewCorrection = false;
    TRPPrintComponentEvent OnPrintComponent;

    TCustomPrintableRP* PrintableRP() const { return m_rp; }
    bool TransparentBackground() const;
    void SetTransparentBackground(bool Value);
    TRPColorMode ColorMode() const;
    void SetColorMode(TRPColorMode Value);

    void Loaded();
    // The printable control shows Source's items from here until the next
    // printing (or ReleaseSource) ends the sharing.
    void AssignSource(TCustomRichPad* Source);
    void FormatPages();
    int GetPagesCount() const;
    // Prints every page; False, with the printer left as it was and the reason
    // in LastError, when the job could not start or failed on the way.
    bool Print(const QString& Title, int Copies, bool Collate);
    QString LastError() const { return m_rp ? m_rp->LastError : QString(); }
    // Stops showing the source's items and forgets the pages.
    void ReleaseSource();

protected:
    // Made by the descendant's constructor; owned by this component.
    void SetPrintableRP(TCustomPrintableRP* RP);

private:
    TCustomPrintableRP* m_rp = nullptr;
};

class TRPPrint : public TCustomRPPrint {
public:
    explicit TRPPrint(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TRPPrint"); }

    bool ClipMargins() const { return Data()->ClipMargins; }
    void SetClipMargins(bool Value) { Data()->ClipMargins = Value; }
    bool MirrorMargins() const { return Data()->MirrorMargins; }
    void SetMirrorMargins(bool Value) { Data()->MirrorMargins = Value; }
    int LeftMarginMM() const { return Data()->LeftMarginMM; }
    void SetLeftMarginMM(int Value) { Data()->LeftMarginMM = Value; }
    int RightMarginMM() const { return Data()->RightMarginMM; }
    void SetRightMarginMM(int Value) { Data()->RightMarginMM = Value; }
    int TopMarginMM() const { return Data()->TopMarginMM; }
    void SetTopMarginMM(int Value) { Data()->TopMarginMM = Value; }
    int BottomMarginMM() const { return Data()->BottomMarginMM; }
    void SetBottomMarginMM(int Value) { Data()->BottomMarginMM = Value; }
    // Stored only: there is no header or footer document.
    int HeaderYMM() const { return Data()->HeaderYMM; }
    void SetHeaderYMM(int Value) { Data()->HeaderYMM = Value; }
    int FooterYMM() const { return Data()->FooterYMM; }
    void SetFooterYMM(int Value) { Data()->FooterYMM = Value; }

    TRPPrintingEvent OnFormatting;
    TRPPrintingEvent OnSendingToPrinter;
    TRPPagePrepaintEvent OnPagePrepaint;
    TRPPagePrepaintEvent OnPagePostpaint;

    TPrintableRPData* Data() const { return static_cast<TPrintableRP*>(PrintableRP())->PageData(); }
};
