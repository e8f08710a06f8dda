#pragma once
// The editable rich-text control: the view plus caret, keyboard and input
// method, the change protocol around every edit (BeforeChange, Change),
// undo and redo, insertion commands, paste and drop.
//
//   auto* edit = new TRichPadEdit(form);
//   edit->SetParent(form);
//   edit->SetStyle(&style);
//   edit->Clear();
//   edit->Format();
//   edit->OnChange = [](TObject*) { ... };
#include "richtext/edit/RPEditData.h"
#include "richtext/view/RichPad.h"

#include <QStringList>

class QMimeData;
class QUrl;

// Editor options.
using TRPEditorOptions = uint8_t;
constexpr TRPEditorOptions rpoClearTagOnStyleApp = 1u << 0;
constexpr TRPEditorOptions rpoCtrlJumps = 1u << 1;
constexpr TRPEditorOptions rpoDoNotWantReturns = 1u << 2;
constexpr TRPEditorOptions rpoDoNotWantShiftReturns = 1u << 3;
constexpr TRPEditorOptions rpoWantTabs = 1u << 4;
constexpr TRPEditorOptions rpoAutoSwitchLang = 1u << 5;
constexpr TRPEditorOptions rpoHideReadOnlyCaret = 1u << 6;
constexpr TRPEditorOptions rpoNoImageResize = 1u << 7;

// Formats a drop or paste may insert.
using TRPDragDropFormats = uint8_t;
constexpr TRPDragDropFormats rpddRPF = 1u << 0;
constexpr TRPDragDropFormats rpddRTF = 1u << 1;
constexpr TRPDragDropFormats rpddText = 1u << 2;
constexpr TRPDragDropFormats rpddUnicodeText = 1u << 3;
constexpr TRPDragDropFormats rpddBitmap = 1u << 4;
constexpr TRPDragDropFormats rpddMetafile = 1u << 5;
constexpr TRPDragDropFormats rpddURL = 1u << 6;
constexpr TRPDragDropFormats rpddFiles = 1u << 7;

enum TRPGetOutDirection : uint8_t { rpdirLeft, rpdirUp, rpdirRight, rpdirDown, rpdirHome, rpdirEnd };

class TCustomRichPadEdit;
using TRPOnCaretGetOutEvent = std::function<void(TCustomRichPadEdit* Sender, TRPGetOutDirection Direction)>;
using TRPChangingEvent = std::function<void(TCustomRichPadEdit* Sender, bool& CanEdit)>;
using TRPStyleConversionEvent =
    std::function<void(TCustomRichPadEdit* Sender, int StyleNo, int UserData, bool AppliedToText, int& NewStyleNo)>;
using TRPPasteEvent = std::function<void(TCustomRichPadEdit* Sender, bool& DoDefault)>;
// What the handler of dropped files did with them: 0 nothing, anything else
// that it took them (the drop then counts as done).
using TRPDropFileAction = uint8_t;
using TRPDropFilesEvent = std::function<void(TCustomRichPadEdit* Sender, const QStringList& Files,
                                             TRPDropFileAction& FileAction, bool& DoDefault)>;

class TCustomRichPadEdit : public TCustomRichPad {
public:
    explicit TCustomRichPadEdit(TComponent* AOwner, TDataClass DataClass = nullptr);
    ~TCustomRichPadEdit() override;
    QString ClassName() const override { return QStringLiteral("TCustomRichPadEdit"); }

    TRPEditRPData* EditData() const { return static_cast<TRPEditRPData*>(RPData()); }

    // ---- settings
    TRPEditorOptions EditorOptions = rpoClearTagOnStyleApp;
    TRPDragDropFormats AcceptDragDropFormats = static_cast<TRPDragDropFormats>(~rpddURL);
    bool Modified = false;
    virtual bool ReadOnly() const { return m_readOnly; }
    virtual void SetReadOnly(bool Value);
    // A read-only editor may show no caret: it is then a viewer.
    bool HidesCaret() const { return ReadOnly() && (EditorOptions & rpoHideReadOnlyCaret); }
    // Only the value: no links, caret or painting follow (for restoring a state).
    void SetReadOnlyDirect(bool Value) { m_readOnly = Value; }
    int UndoLimit() const { return EditData()->UndoList->Limit(); }
    void SetUndoLimit(int Value) { EditData()->UndoList->SetLimit(Value); }
    void SetTabNavigation(TRPTabNavigationType Value);

    // ---- events
    TRPOnCaretGetOutEvent OnCaretGetOut;
    TNotifyEvent OnChange;
    TRPChangingEvent OnChanging;
    TNotifyEvent OnCaretMove;
    TNotifyEvent OnCurParaStyleChanged;
    TNotifyEvent OnCurTextStyleChanged;
    TRPStyleConversionEvent OnStyleConversion;
    TRPStyleConversionEvent OnParaStyleConversion;
    TRPPasteEvent OnPaste;
    TRPDropFilesEvent OnDropFiles;

    // The editor whose document holds all the others (a table cell's editor
    // answers its host's): the sender of the events that report an edit.
    TCustomRichPadEdit* OutermostEditor();

    // ---- the change protocol
    virtual bool BeforeChange(bool FromOutside);
    virtual void Change(bool ClearRedo);

    // ---- commands
    void DeleteSelection();
    void CutDef();
    bool CanPaste();
    void Paste();
    // One format of the clipboard each; nothing when it lacks that format.
    // With TextAsName the clipboard's text names the picture.
    void PasteRPF() { PasteFromClipboard(rppfRPF, false); }
    void PasteRTF() { PasteFromClipboard(rppfRTF, false); }
    void PasteText() { PasteFromClipboard(rppfText, false); }
    void PasteTextW() { PasteFromClipboard(rppfTextW, false); }
    void PasteBitmap(bool TextAsName) { PasteFromClipboard(rppfBitmap, TextAsName); }
    // A metafile without a resolution gets 1440 units per inch; the picture
    // keeps the metafile's size as its own.
    void PasteMetafile(bool TextAsName) { PasteFromClipboard(rppfMetafile, TextAsName); }
    // Pastes what Data offers, in the order of preference: RPF, RTF, text
    // (8-bit where the actual current text style holds it), HTML without
    // text, pictures, metafiles. True when something was inserted; with
    // nothing usable nothing happens.
    bool PasteMimeData(const QMimeData& Data);
    // Inside an insertion already framed (a paste or a drop): the first of
    // RPF, RTF, a link, HTML, pictures, text and files that Formats admits
    // and Data offers.
    bool InsertMimeData(const QMimeData& Data, TRPDragDropFormats Formats);
    bool HasInsertableFormat(const QMimeData& Data, TRPDragDropFormats Formats) const;
    // The RPF of Data's block when Formats admit it and it reads whole; empty otherwise.
    std::string UsableRPF(const QMimeData& Data, TRPDragDropFormats Formats) const;
    virtual void Undo();
    virtual void Redo();
    // Own steps, or those of a cell editor open in this control.
    bool CanUndo();
    bool CanRedo();
    uint8_t UndoAction() const { return EditData()->UndoList->CurrentAction(); }
    void ClearUndo();
    void BeginUndoGroup(int UndoType);
    void SetUndoGroupMode(bool GroupUndo) { EditData()->SetUndoGroupMode(GroupUndo); }

    // The styles of the innermost open cell editor, else this control's.
    int CurTextStyleNo() const { return InnermostEditor()->EditData()->CurTextStyleNo; }
    int CurParaStyleNo() const { return InnermostEditor()->EditData()->CurParaStyleNo; }
    int ActualCurTextStyleNo() const { return InnermostEditor()->EditData()->ActualCurTextStyleNo(); }
    // The change events fire when the value changes, or whenever the
    // document's ForceStyleChangeEvents is set (the text style clears it).
    void SetCurTextStyleNo(int Value);
    void SetCurParaStyleNo(int Value);
    int CurItemNo() const { return EditData()->CurItemNo(); }
    int OffsetInCurItem() const { return EditData()->OffsetInCurItem(); }
    TCustomRPItemInfo* GetCurrentItem() const;

    // Insertion at the caret; every one replaces the selection and is one undo step.
    void InsertText(const std::string& Text, bool CaretAtStart = false);
    void InsertTextW(const std::string& Text, bool CaretAtStart = false);
    // Text as Qt holds it, converted for the current text style.
    void InsertQString(const QString& Text);
    bool InsertTextFromFile(const std::string& FileName);
    bool InsertStringTag(const std::string& Text, const TRPTag& Tag);
    bool InsertPicture(const std::string& Name, std::unique_ptr<TGraphic> Graphic, uint8_t VAlign);
    bool InsertRPFFromStream(const std::string& Stream);
    bool InsertRPFFromFile(const std::string& FileName);
    bool InsertRTFFromStream(const std::string& Stream);
    bool InsertRTFFromFile(const std::string& FileName);

    void ApplyParaStyle(int ParaNo);
    void ApplyParaStyleConversion(int UserData);
    void ApplyStyleConversion(int UserData);
    // Deletes the text, paragraph and list styles (as asked) that neither the
    // document nor the current styles use, nor a kept style names; what stays
    // is renumbered in the document, in the styles and in the current styles.
    // The first text and paragraph styles stay. Undo is gone afterwards.
    // The style set is taken as this editor's alone.
    void DeleteUnusedStyles(bool TextStyles, bool ParaStyles, bool ListStyles);
    // Gives a picture item a new size as one undo step.
    bool ResizeItem(int ItemNo, int Width, int Height);
    // An extra integer property of an item as one undo step (nothing when it
    // holds Value already). With AutoReformat the item is laid out again and
    // the edit ends; without it the caller lays out and ends the edit.
    void SetItemExtraIntPropertyEd(int ItemNo, int Prop, int Value, bool AutoReformat);

    // Document-side notifications.
    void DoCaretMove();
    // Dragging the selection out: the editor also moves it (see the view).
    int AllowedDragEffects() override;
    void DoneDragging(int Effect) override;

    // ---- a table cell edited in place in this control (RPTableInplace.cpp)
    TControl* GetCellEditor() override;
    void DestroyCellEditor() override;
    // The open cell editor when it is an editor; the editing commands go there.
    TCustomRichPadEdit* OpenCellEditor() const;
    // The innermost open cell editor, or this control.
    const TCustomRichPadEdit* InnermostEditor() const;
    // A press at (X, Y) outside the table whose cell is edited closes the editor.
    void CloseCellEditorForPress(int X, int Y);

    // Paints again where the caret was painted last.
    void InvalidateShownCaret();

    // The tests' way in: keys and characters as the keyboard sends them.
    void SendKey(uint16_t Key, TShiftState Shift = 0);
    void SendChar(char16_t Ch);
    void SendKeyUp(uint16_t Key);

protected:
    // Tell the listeners of the current styles (not while going, nor without a style).
    virtual void DoCurTextStyleChanged();
    virtual void DoCurParaStyleChanged();
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    // The caret keys move the caret and the view follows it; only an editor
    // without a caret scrolls by them.
    bool ScrollsByKeys() const override { return TCustomRichPad::ScrollsByKeys() && HidesCaret(); }
    // Releasing Ctrl ends hyperlink mode.
    void KeyUp(uint16_t Key);
    bool KeyChar(char16_t Key) override;
    // With rpoWantTabs Tab types into an editable editor instead of moving the focus.
    bool WantTabs() const override;
    bool HandleEvent(QEvent* e) override;
    void FocusIn(bool Mouse, bool Backward, bool FromNowhere) override;
    void FocusOut() override;
    void VScrolled() override;
    void HScrolled() override;
    // The caret follows a scroll of the document.
    void CaretScrolled();
    void Timer(int Id) override;
    void CreateWnd() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint(TCanvas& Canvas, const TRect& Clip) override;
    void PaintCaret(TCanvas& Canvas);
    void PaintDragDropCaret(TCanvas& Canvas);
    // The caret is painted again where it was and where its pixels go.
    void ScrollPixels(int DX, int DY, const TRect& R) override;

    // Drag and drop: the window system's drag events, handed to the hooks.
    bool DropEvent(QEvent* e);
    bool OleDragEnter(int X, int Y) override;
    bool OleDragOver(int X, int Y) override;
    void OleDragLeave() override;
    int OleDrop(const QMimeData& DataObject, bool Move) override;
    bool OleCanAcceptFormat(const QMimeData& DataObject) override;
    // Puts the drop caret where a drop at the client point would land;
    // false (no drop caret) where nothing may land.
    bool MoveDragDropCaret(int X, int Y);
    void EraseDragDropCaret();
    // Where a drop at a client point lands: this control's document or the
    // cell under the point (at any depth), and the item position there.
    struct TDropSpot {
        TCustomRPFormattedData* Doc = nullptr;
        int ItemNo = -1, Offs = 0;
    };
    TDropSpot DropSpotAt(int X, int Y);
    // Inserts dropped data at a position of this control's document and
    // selects it, as one undo step; Move deletes the selection (the dragged
    // text) in the same step. False when nothing went in.
    bool DropAt(const QMimeData& Data, int ItemNo, int Offs, bool Move);

    // The frame of the insertion commands: checks, one undo group, the
    // selection deleted. False when the insertion is refused.
    bool BeginInsertion();
    void EndInsertion();
    // Parts of insertions inside a frame.
    bool InsertTextItemWithTag(const std::string& Text, const TRPTag& Tag);
    bool InsertPlainText(const QString& Text);
    bool InsertLink(const QUrl& Link);
    bool InsertDroppedFiles(const QStringList& Files);

    enum TRPPasteFormat { rppfRPF, rppfRTF, rppfText, rppfTextW, rppfBitmap, rppfMetafile };
    void PasteFromClipboard(TRPPasteFormat Format, bool TextAsName);
    // One format of Data as one insertion; false when Data lacks it or nothing went in.
    bool PasteFormat(const QMimeData& Data, TRPPasteFormat Format, bool TextAsName);
    // The text format a paste of Text takes in the actual current text style.
    TRPPasteFormat TextPasteFormat(const QString& Text) const;

private:
    bool m_readOnly = false;
    // Whether a drag entered this control and has neither left nor dropped:
    // it holds one count of the document's drop caret meanwhile.
    bool m_dragOver = false;
    void NoteDragOver(const QEvent& e);
    // Undo or redo that must wait until the open cell editor has closed.
    void PostUndoAfterCellEditor(bool IsRedo);
    // One step of undo or redo, through an open cell editor first.
    void UndoStep(bool IsRedo);
    void UndoStepIn(bool IsRedo);
    // Sets up the widget (new or recreated) for typing by input method and drops.
    void AcceptInput();
    bool m_caretOn = true;
    TRect m_caretShown;                     // where the caret was painted last
    // The drop caret: the document under the point and the position there.
    TCustomRPFormattedData* m_dropData = nullptr;
    int m_dropItemNo = -1, m_dropOffs = -1;
};

class TRichPadEdit : public TCustomRichPadEdit {
public:
    using TCustomRichPadEdit::TCustomRichPadEdit;
    QString ClassName() const override { return QStringLiteral("TRichPadEdit"); }
};
