#pragma once
// The read-only rich-text view: a scroller that owns one document, shows it
// formatted with the styles of a style component, scrolls it, lets the user
// select, copy and follow hypertext jumps, and loads and saves it as RPF and
// RTF. The editor control derives from it.
//
//   auto* view = new TCustomRichPad(form);
//   view->SetParent(form);
//   view->SetStyle(&style);          // not owned
//   view->Clear();
//   view->LoadRTF("page.rtf");
//   view->Format();
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "richtext/model/RPBackground.h"
#include "richtext/view/RPControlData.h"
#include "richtext/view/RPScroller.h"

class QMimeData;
class TRPStyle;
class TRPLayoutInfo;
class TRPRTFReaderProperties;

class TCustomRichPad;

// An event that a nested cell editor relays to its host control, which fires
// it once the editor's own handler has returned: a kind and the arguments.
struct TRPMessageData {
    uint8_t Kind = 0;
    int Values[3] = {0, 0, 0};
    uint8_t Bytes[2] = {0, 0};
    std::string Text;
    TObject* Object = nullptr; // the source of a drop, the target of a drag's end
};
// A double click on a word (kind 0).
struct TRPDblClickMessageData : TRPMessageData {
    TRPDblClickMessageData(const std::string& Word, int StyleNo) {
        Kind = 0;
        Values[0] = StyleNo;
        Text = Word;
    }
};
// A jump (kind 1).
struct TRPJumpMessageData : TRPMessageData {
    explicit TRPJumpMessageData(int Id) {
        Kind = 1;
        Values[0] = Id;
    }
};
// A mouse button released (kind 2) or pressed (kind 3) over an item, at a
// place in the host's client area.
struct TRPMouseUpDownMessageData : TRPMessageData {
    TRPMouseUpDownMessageData(bool Down, TMouseButton Button, TShiftState Shift, int ItemNo, int X, int Y) {
        Kind = Down ? 3 : 2;
        Bytes[0] = static_cast<uint8_t>(Button);
        Bytes[1] = static_cast<uint8_t>(Shift);
        Values[0] = ItemNo;
        Values[1] = X;
        Values[2] = Y;
    }
};
// A click (kind 4).
struct TRPClickMessageData : TRPMessageData {
    TRPClickMessageData() { Kind = 4; }
};
// A drop from Object (kind 7) or the end of a drag onto Object (kind 8).
struct TRPDNDMessageData : TRPMessageData {
    TRPDNDMessageData(bool Drop, TObject* AObject, int X, int Y) {
        Kind = Drop ? 7 : 8;
        Object = AObject;
        Values[0] = X;
        Values[1] = Y;
    }
};

using TRPJumpEvent = std::function<void(TObject* Sender, int id)>;
using TRPMouseItemEvent =
    std::function<void(TCustomRichPad* Sender, TMouseButton Button, TShiftState Shift, int ItemNo, int X, int Y)>;
using TRPDblClickEvent = std::function<void(TCustomRichPad* Sender, const std::string& ClickedWord, int Style)>;
using TRPRightClickEvent =
    std::function<void(TCustomRichPad* Sender, const std::string& ClickedWord, int Style, int X, int Y)>;
using TRPCheckpointEvent = std::function<void(TCustomRichPad* Sender, TRPCPInfo* Checkpoint)>;
using TRPPaintEvent = std::function<void(TCustomRichPad* Sender, TCanvas* Canvas, bool Prepaint)>;
using TRPURLNeededEvent = std::function<void(TCustomRichPad* Sender, int id, std::string& url)>;
using TRPReadHyperlinkEvent =
    std::function<void(TCustomRichPad* Sender, const std::string& Target, const std::string& Extras, int DocFormat,
                       int& StyleNo, TRPTag& ItemTag, std::string& ItemName)>;
using TRPImportPictureEvent = std::function<void(TCustomRichPad* Sender, const std::string& Location, int Width,
                                                 int Height, TGraphic*& Graphic)>;
using TRPItemHintEvent =
    std::function<void(TCustomRichPad* Sender, TCustomRPData* RPData, int ItemNo, std::string& HintText)>;
using TRPRPFPictureNeededEvent = std::function<void(TCustomRichPad* Sender, const std::string& Name,
                                                    const TRPTag& Tag, TGraphic*& Graphic)>;
using TRPRPFControlNeededEvent =
    std::function<void(TCustomRichPad* Sender, const std::string& Name, const TRPTag& Tag, TControl*& Control)>;
// The image list of an image-list item read from RPF, by the list's tag.
using TRPRPFImageListNeededEvent =
    std::function<void(TCustomRichPad* Sender, int ImageListTag, TCustomImageList*& ImageList)>;
using TRPControlActionEvent =
    std::function<void(TCustomRichPad* Sender, int ControlAction, int ItemNo, TControl*& Control)>;
using TRPItemActionEvent = std::function<void(TCustomRichPad* Sender, int ItemAction, TCustomRPItemInfo* Item,
                                              std::string& Text, TCustomRPData* RPData)>;
// The writers' hooks. Outputs arrive cleared (DoDefault set); a handler that
// clears DoDefault has written the picture or the item itself.
using TRPHTMLSaveImageEvent =
    std::function<void(TCustomRichPad* Sender, TCustomRPData* RPData, int ItemNo, const std::string& Path,
                       TColor BackgroundColor, std::string& Location, bool& DoDefault)>;
using TRPSaveImageEvent2 =
    std::function<void(TCustomRichPad* Sender, const TGraphic* Graphic, int SaveFormat, const std::string& Path,
                       const std::string& ImagePrefix, int ImageSaveNo, std::string& Location, bool& DoDefault)>;
using TRPSaveRTFExtraEvent = std::function<void(TCustomRichPad* Sender, int Area, void* Obj, int Index1,
                                                int Index2, bool InStyleSheet, std::string& RTFCode)>;
using TRPSaveHTMLExtraEvent =
    std::function<void(TCustomRichPad* Sender, int Area, bool CSSVersion, std::string& HTMLCode)>;
using TRPSaveParaHTMLCodeEvent = std::function<void(TCustomRichPad* Sender, TCustomRPData* RPData, int ItemNo,
                                                    bool ParaStart, bool CSSVersion, std::string& HTMLCode)>;
using TRPWriteHyperlink =
    std::function<void(TCustomRichPad* Sender, int id, TCustomRPData* RPData, int ItemNo, int SaveFormat,
                       std::string& Target, std::string& Extras)>;
using TRPSaveItemToFileEvent =
    std::function<void(TCustomRichPad* Sender, const std::string& Path, TCustomRPData* RPData, int ItemNo,
                       int SaveFormat, bool Unicode, std::string& OutStr, bool& DoDefault)>;
using TRPSaveComponentToFileEvent = std::function<void(TCustomRichPad* Sender, const std::string& Path,
                                                       TControl* SaveMe, int SaveFormat, std::string& OutStr)>;

// The view's default option sets.
constexpr TRPOptions rpDefaultOptions = rpoAllowSelection | rpoScrollToEnd | rpoShowPageBreaks | rpoAutoCopyText |
                                        rpoAutoCopyRPF | rpoAutoCopyImage | rpoAutoCopyRTF | rpoFormatInvalidate |
                                        rpoDblClickSelectsWord | rpoRClickDeselects;
constexpr TRPRTFOptions rpDefaultRTFOptions = rprtfDuplicateUnicode | rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg;
constexpr TRPFOptions rpDefaultRPFOptions =
    rpfoSavePicturesBody | rpfoSaveControlsBody | rpfoSaveBinary | rpfoSaveDocProperties | rpfoLoadDocProperties;
constexpr uint32_t rpDefaultViewFlags = rpflRecordJumps | rpflWrapDropsSpace | rpflMainDocument;
// Id of the auto-scroll timer.
constexpr int rpAutoScrollTimer = 1;

class TCustomRichPad : public TRPScroller {
public:
    using TDataClass = std::unique_ptr<TRichPadRPData> (*)(TCustomRichPad* Owner);
    explicit TCustomRichPad(TComponent* AOwner, TDataClass DataClass = nullptr);
    ~TCustomRichPad() override;
    QString ClassName() const override { return QStringLiteral("TCustomRichPad"); }

    // ---- settings
    TRPOptions Options = rpDefaultOptions;
    TRPRTFOptions RTFOptions = rpDefaultRTFOptions;
    TRPFOptions RPFOptions = rpDefaultRPFOptions;
    uint8_t RPFWarnings = 0;
    std::string Delimiters = " .;,:(){}\"/\\";
    uint8_t CheckpointEventMode = 0;
    int32_t MaxTextWidth = 0, MinTextWidth = 0;
    int32_t LeftMargin = 5, RightMargin = 5, TopMargin = 5, BottomMargin = 5;
    TRPFReaderStyleMode RPFTextStylesReadMode = rpf_sInsertMerge;
    TRPFReaderStyleMode RPFParaStylesReadMode = rpf_sInsertMerge;
    std::vector<std::string> DocProperties;
    uint16_t DocFlags = rpDefaultViewFlags;
    std::unique_ptr<TRPBackground> Background;
    // Pictures written for HTML by SaveImageForHTML: file-name prefix (may
    // name a subfolder), the running number of the last file, and whether
    // existing files are overwritten.
    std::string HTMLImagesPrefix;
    int HTMLImageSaveNo = 0;
    bool HTMLOverwriteImages = false;

    // ---- events
    TRPJumpEvent OnJump;
    TRPJumpEvent OnRPMouseMove;
    TRPURLNeededEvent OnURLNeeded;
    TRPDblClickEvent OnRPDblClick;
    TRPRightClickEvent OnRPRightClick;
    TRPMouseItemEvent OnRPMouseUp;
    TRPMouseItemEvent OnRPMouseDown;
    TRPControlActionEvent OnControlAction;
    TRPItemActionEvent OnItemAction;
    TRPRPFPictureNeededEvent OnRPFPictureNeeded;
    TRPRPFControlNeededEvent OnRPFControlNeeded;
    TRPRPFImageListNeededEvent OnRPFImageListNeeded;
    TRPCheckpointEvent OnCheckpointVisible;
    TNotifyEvent OnCopy;
    TRPReadHyperlinkEvent OnReadHyperlink;
    TRPPaintEvent OnPaint;
    TRPImportPictureEvent OnImportPicture;
    TRPItemHintEvent OnItemHint;
    TNotifyEvent OnSelect;
    // Hooks of the RTF, HTML and text writers (SaveFormat: 0 text, 1 HTML, 2 RTF).
    TRPHTMLSaveImageEvent OnHTMLSaveImage;
    TRPSaveImageEvent2 OnSaveImage2;
    TRPSaveRTFExtraEvent OnSaveRTFExtra;
    TRPSaveHTMLExtraEvent OnSaveHTMLExtra;
    // Extra HTML before a paragraph's opening tag or after its closing tag.
    TRPSaveParaHTMLCodeEvent OnSaveParaHTMLCode;
    // Target starts as the item's string tag and Extras as its hint (a title
    // attribute in HTML, a \o switch in RTF).
    TRPWriteHyperlink OnWriteHyperlink;
    TRPSaveItemToFileEvent OnSaveItemToFile;
    TRPSaveComponentToFileEvent OnSaveComponentToFile;

    TRPStyle* Style() const { return m_style; }
    void SetStyle(TRPStyle* Value);
    TRichPadRPData* RPData() const { return m_data.get(); }
    TRPTabNavigationType TabNavigation() const { return m_data->TabNavigation; }
    void SetTabNavigation(TRPTabNavigationType Value) { m_data->TabNavigation = Value; }
    int FirstJumpNo() const { return m_data->FirstJumpNo; }
    void SetFirstJumpNo(int Value);
    bool AllowSelection() const { return (Options & rpoAllowSelection) != 0; }
    bool SingleClick() const { return (Options & rpoSingleClick) != 0; }
    TBackgroundStyle BackgroundStyle() const { return Background->Style; }
    void SetBackgroundStyle(TBackgroundStyle Value);
    TGraphic* BackgroundBitmap() const { return Background->GetBitmap(); }
    void BackgroundChanged();
    // Colour of the empty view: Color, else the style's, else the window colour.
    TColor EffectiveColor() const;

    // ---- document building and queries
    virtual void ClearFormatting();
    void Clear();
    // Item text: bytes in the text style's code page (see the document model).
    void AddText(const std::string& Text, int StyleNo, int ParaNo);
    void AddPicture(const std::string& Name, std::unique_ptr<TGraphic> Graphic, int ParaNo, uint8_t VAlign);
    int ItemCount() const { return m_data->GetItemCount(); }
    int GetItemStyle(int ItemNo) const { return m_data->GetItemStyle(ItemNo); }
    const std::string& GetItemText(int ItemNo) const { return m_data->GetItemText(ItemNo); }
    TCustomRPItemInfo* GetItem(int ItemNo) const { return m_data->GetItem(ItemNo); }
    void GetPictureInfo(int ItemNo, std::string& Name, TGraphic*& Graphic, uint8_t& VAlign, TRPTag& Tag) const;
    void SetPictureInfo(int ItemNo, const std::string& Name, TGraphic* Graphic, uint8_t VAlign, const TRPTag& Tag);
    bool GetItemExtraIntProperty(int ItemNo, int Prop, int& Value) const;
    bool SetItemExtraIntProperty(int ItemNo, int Prop, int Value);
    int GetJumpItemNo(int JumpNo) { return m_data->GetJumpItemNo(JumpNo); }
    int GetJumpItemNo(int JumpNo, TCustomRPFormattedData*& Holder) {
        return m_data->GetJumpItemNo(JumpNo, &Holder);
    }
    int GetFirstOffsetOfItem(int ItemNo) const { return m_data->GetFirstOffsetOfItem(ItemNo); }
    int GetLastOffsetOfItem(int ItemNo) const { return m_data->GetLastOffsetOfItem(ItemNo); }
    int GetDocumentHeight() const { return m_data->DocumentHeight; }

    // ---- formatting and display
    void Format();
    void SetVSmallStep(int Value) override;
    // After each format: the scroll unit that keeps the vertical range of the
    // document within 32000 units, back to 10 pixels when that is enough.
    void AdjustVScrollUnits();
    void SetBiDiMode(TRPBiDiMode Value) override;
    // After streaming from a form: palette, then a format.
    void Loaded();
    virtual void RepaintWithCellEditor(bool DoRepaint);
    // Moves the shown part R of the document DY pixels down (the lines below
    // an edit), where that gives the same picture as painting them again:
    // over a plain background. False when it does not.
    virtual bool ScrollDocumentRect(int DY, const TRect& R);

    // ---- selection and clipboard
    void SelectAll();
    void Deselect();
    bool SelectionExists() { return m_data->SelectionExists(true, true); }
    TGraphic* GetSelectedImage() { return m_data->GetSelectedImage(); }
    void SetSelectionBounds(int StartItemNo, int StartOffs, int EndItemNo, int EndOffs);
    bool CopyToClipboard();
    // The formats of CopyToClipboard one at a time, with the view's colour
    // and background (an open cell editor copies its own selection).
    bool CopyRPF();
    bool CopyRTF();
    bool CopyText();
    bool CopyTextW();
    bool CopyImage();

    // ---- loading and saving
    bool LoadRPFFromStream(const std::string& Stream);
    bool SaveRPFToStream(std::string& Stream, bool SelectionOnly);
    bool LoadRTF(const std::string& FileName);
    // RTF of the document or the selection with the view's background and
    // Color, appended to Stream / replacing the file; False when it fails.
    bool SaveRTFToStream(std::string& Stream, bool SelectionOnly);
    bool SaveRTF(const std::string& FileName, bool SelectionOnly);
    // Plain text, CR LF between paragraphs and lines: 8-bit in the styles'
    // code pages, or UTF-16 without a byte-order mark. LineWidth is the width
    // of a rule in characters; TextOnly leaves out items without a text form.
    bool SaveTextToStream(const std::string& Path, std::string& Stream, int LineWidth, bool SelectionOnly,
                          bool TextOnly);
    bool SaveTextToStreamW(const std::string& Path, std::string& Stream, int LineWidth, bool SelectionOnly,
                           bool TextOnly);
    // Writes Graphic as a picture file for HTML into the folder Path with the
    // HTML picture settings above; answers where it went (relative to Path),
    // empty when nothing could be written.
    virtual std::string SaveImageForHTML(const TGraphic* Graphic, int SaveFormat, const std::string& Path,
                                         TColor BackColor);
    std::unique_ptr<TRPLayoutInfo> CreateLayoutInfo() const;
    virtual void ApplyLayout(const TRPLayoutInfo& Layout);
    TRPRTFReaderProperties* GetRTFReadProperties();
    void SetRTFReadProperties(const TRPRTFReaderProperties* Value);

    // ---- other operations
    void AssignEvents(const TCustomRichPad& Source);
    void FreeDocumentTempObject();
    void StartAutoScroll(bool Slow);
    void StopAutoScroll();
    // The steps of the running auto-scroll (vertical in units, horizontal in pixels).
    void SetAutoScrollSteps(int VStep, int HStep) {
        m_autoVStep = VStep;
        m_autoHStep = HStep;
    }
    bool AutoScrolling() const { return m_autoScroll; }
    int AutoScrollVStep() const { return m_autoVStep; }
    int AutoScrollHStep() const { return m_autoHStep; }
    static bool IsCopyShortCut(TShiftState Shift, uint16_t Key);
    static bool IsCutShortCut(TShiftState Shift, uint16_t Key);
    static bool IsPasteShortCut(TShiftState Shift, uint16_t Key);
    // The copy message: copies the selection (an open cell editor copies its own).
    void WMCopy();
    // An event relayed from a nested cell editor, fired after the current message.
    void PostDeferredEvent(const TRPMessageData& Event);

    // The control whose document holds this one (a cell editor's host), or itself.
    virtual TCustomRichPad* RootControl() { return this; }
    // A right click on the document pops the menu up on its mouse-up; the
    // keyboard's request goes to the root control, so that a cell editor
    // opens its host's menu.
    bool ContextMenu(TPoint MousePos, bool Keyboard) override;

    // ---- dragging the selection out (RichPadDrag.cpp)
    // What the drag offers: the clipboard's formats of the selection (RPF,
    // RTF, text, and a single selected picture as itself).
    std::unique_ptr<QMimeData> CreateDragData();
    // The effects a drag out of the control allows: 1 copy, 2 move. A view
    // only lets its text be copied.
    virtual int AllowedDragEffects() { return 1; }
    // Runs the drag (from a press inside the selection that moved on).
    void StartDragSelection();
    // The drag ended with the effect done (0 none, 1 copy, 2 move).
    virtual void DoneDragging(int Effect) { (void)Effect; }

    // ---- used by the document
    void ScrollToY(int Y, bool Redraw);

protected:
    void Paint(TCanvas& Canvas, const TRect& Clip) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void MouseLeave() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool WantTabs() const override;
    void FocusIn(bool Mouse, bool Backward, bool FromNowhere) override;
    void FocusOut() override;
    bool TabFromChild(bool Forward) override;
    void Timer(int Id) override;
    void ClientResized() override;
    void ResetScrollPositions() override;
    void UpdateScrollBarsForClient() override;
    void UpdatePalette() override;
    void VScrolled() override;
    void HScrolled() override;
    void DestroyWnd() override;
    void DispatchDeferredEvent(const TRPMessageData& Event);
    void SimulateMouseMove();
    // A press inside the selection waits for the pointer to move on, which
    // starts a drag; true when the move was taken for that.
    bool DragPendingMove(TShiftState Shift, int X, int Y);
    int m_pressX = 0, m_pressY = 0; // where the left button went down

private:
    std::unique_ptr<TRichPadRPData> m_data;
    TRPStyle* m_style = nullptr;
    std::unique_ptr<TRPRTFReaderProperties> m_rtfReadProperties;
    bool m_autoScroll = false;
    int m_autoVStep = 0, m_autoHStep = 0;
    void PaintMessage(TCanvas& Canvas, const QString& Text);
};

// The view as the forms use it.
class TRichPad : public TCustomRichPad {
public:
    using TCustomRichPad::TCustomRichPad;
    QString ClassName() const override { return QStringLiteral("TRichPad"); }
};
