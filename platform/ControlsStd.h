#pragma once
// The standard controls: labels, buttons, speed buttons, panels, check boxes,
// radio groups, combo boxes, track bars, memos, edits and static texts.
#include "platform/ControlsCom.h"
#include "platform/Forms.h"
#include "platform/Pictures.h"

#include <memory>

class QWidget;

// ---- text controls that paint themselves ------------------------------------------

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TLabel"); }

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool a);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout l);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool t);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool w);

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;

protected:
    void CaptionChanged() override;
    void FontChanged() override;
    void AdjustSize();

private:
    bool m_autoSize = true;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_transparent = false;
    bool m_wordWrap = false;
};

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

class TStaticText : public TWinControl {
public:
    explicit TStaticText(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TStaticText"); }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);
    TStaticBorderStyle BorderStyle() const { return m_border; }
    void SetBorderStyle(TStaticBorderStyle b);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool a);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool t);

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;

protected:
    void CaptionChanged() override;
    void FontChanged() override;

private:
    void AdjustSize();
    TAlignment m_alignment = taLeftJustify;
    TStaticBorderStyle m_border = sbsNone;
    bool m_autoSize = true;
    bool m_transparent = false;
};

// ---- buttons ----------------------------------------------------------------------

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

// A push button; clicking it also sets the form's ModalResult to its own.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TButton"); }
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult r) { m_modalResult = r; }
    bool Default() const { return m_default; }
    void SetDefault(bool d) { m_default = d; }
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool c) { m_cancel = c; }
    void Click() override;

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;
    bool HandleEvent(QEvent* e) override;

protected:
    bool ClickOnDoubleClick() const override { return true; }
    // Draws the glyph and caption into the face.
    virtual void PaintFace(QPainter& p, const QRect& face, bool down);
    bool m_pressedLook = false;

private:
    TModalResult m_modalResult = mrNone;
    bool m_default = false;
    bool m_cancel = false;
};

// Draws a glyph and a caption laid out like the framework's picture buttons.
void PaintGlyphAndCaption(QPainter& p, const QRect& face, TBitmap* glyph, int numGlyphs, bool enabled,
                          TButtonLayout layout, int margin, int spacing, const TFont& font,
                          const QString& caption, bool down);

// The picture and its placement beside the caption, shared by the picture buttons.
template <class Base> class TGlyphButton : public Base {
public:
    using Base::Base;
    TBitmap* Glyph() { return &m_glyph; }
    void SetGlyph(const TBitmap& b) {
        m_glyph.Assign(b);
        this->Invalidate();
    }
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int n) {
        m_numGlyphs = n < 1 ? 1 : n;
        this->Invalidate();
    }
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout l) {
        m_layout = l;
        this->Invalidate();
    }
    int Spacing() const { return m_spacing; }
    void SetSpacing(int s) {
        m_spacing = s;
        this->Invalidate();
    }
    int Margin() const { return m_margin; }
    void SetMargin(int m) {
        m_margin = m;
        this->Invalidate();
    }

protected:
    void PaintGlyphFace(QPainter& p, const QRect& face, bool down) {
        PaintGlyphAndCaption(p, face, &m_glyph, m_numGlyphs, this->Enabled(), m_layout, m_margin, m_spacing,
                             *this->Font(), this->Caption(), down);
    }

private:
    TBitmap m_glyph;
    int m_numGlyphs = 1;
    TButtonLayout m_layout = blGlyphLeft;
    int m_spacing = 4;
    int m_margin = -1;
};

class TBitBtn : public TGlyphButton<TButton> {
public:
    explicit TBitBtn(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TBitBtn"); }
    TBitBtnKind Kind() const { return m_kind; }
    void SetKind(TBitBtnKind k);

protected:
    void PaintFace(QPainter& p, const QRect& face, bool down) override { PaintGlyphFace(p, face, down); }

private:
    TBitBtnKind m_kind = bkCustom;
};

// A button without focus; grouped speed buttons stay down.
class TSpeedButton : public TGlyphButton<TControl> {
public:
    explicit TSpeedButton(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TSpeedButton"); }
    bool Flat() const { return m_flat; }
    void SetFlat(bool f) {
        m_flat = f;
        Invalidate();
    }
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int g) { m_groupIndex = g; }
    bool Down() const { return m_down; }
    void SetDown(bool d);
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool a) { m_allowAllUp = a; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool t) {
        m_transparent = t;
        Invalidate();
    }
    // A pupil's click: group rules, then OnClick.
    void Click() override;

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;
    bool HandleEvent(QEvent* e) override;

protected:
    bool ClickOnDoubleClick() const override { return true; }

private:
    int m_groupIndex = 0;
    bool m_down = false;
    bool m_allowAllUp = false;
    bool m_flat = false;
    bool m_transparent = true;
    bool m_pressed = false;
    bool m_hot = false;
};

// ---- panels -----------------------------------------------------------------------

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TPanel"); }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a) {
        m_alignment = a;
        Invalidate();
    }
    TBevelCut BevelOuter() const { return m_outer; }
    void SetBevelOuter(TBevelCut b);
    TBevelCut BevelInner() const { return m_inner; }
    void SetBevelInner(TBevelCut b);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int w);
    // Aligned children sit inside the bevels.
    TRect AlignRect() const override;

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;

private:
    TAlignment m_alignment = taCenter;
    TBevelCut m_outer = bvRaised;
    TBevelCut m_inner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
};

// Draws a framework bevel of width w around r and shrinks r by it.
void PaintBevel(QPainter& p, QRect& r, TBevelCut cut, int w);

// ---- check boxes, radio groups, lists ---------------------------------------------

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TCheckBox"); }
    bool Checked() const { return m_checked; }
    // A change of state runs OnClick, also from code.
    void SetChecked(bool c);
    TCheckBoxState State() const { return m_checked ? cbChecked : cbUnchecked; }
    void SetState(TCheckBoxState s) { SetChecked(s == cbChecked); }

protected:
    void CaptionChanged() override;
    void FontChanged() override;
    bool ClickOnMouseUp() const override { return false; }

private:
    // The box's text keeps the proportions of its design in a scaled window.
    void CaptionFontChanged();
    bool m_checked = false;
    bool m_syncing = false;
};

class TRadioGroup : public TWinControl {
public:
    explicit TRadioGroup(TComponent* AOwner);
    ~TRadioGroup() override;
    QString ClassName() const override { return QStringLiteral("TRadioGroup"); }
    TStrings* Items() { return &m_items; }
    int ItemIndex() const { return m_itemIndex; }
    // A new index runs OnClick, also from code.
    void SetItemIndex(int i);
    int Columns() const { return m_columns; }
    void SetColumns(int c);

protected:
    void CaptionChanged() override;
    void BoundsChanged() override;
    void FontChanged() override;
    bool ClickOnMouseUp() const override { return false; }

private:
    void Rebuild();
    void Arrange();
    // The title and the items keep the proportions of their design in a scaled window.
    void ApplyFonts();
    TStrings m_items;
    int m_itemIndex = -1;
    int m_columns = 1;
    std::vector<QWidget*> m_buttons;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TComboBox"); }
    TStrings* Items() { return &m_items; }
    int ItemIndex() const;
    void SetItemIndex(int i);
    QString Text() const override;
    void SetText(const QString& t) override;
    TComboBoxStyle Style() const { return m_style; }
    void SetStyle(TComboBoxStyle s);
    int DropDownCount() const { return m_dropDownCount; }
    void SetDropDownCount(int n);

    TNotifyEvent OnChange;

protected:
    bool ClickOnMouseUp() const override { return false; }

private:
    void Rebuild();
    TStrings m_items;
    TComboBoxStyle m_style = csDropDown;
    int m_dropDownCount = 8;
    bool m_syncing = false;
};

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TTrackBar"); }
    int Min() const { return m_min; }
    void SetMin(int v);
    int Max() const { return m_max; }
    void SetMax(int v);
    int Position() const { return m_position; }
    // Kept within Min..Max; a change runs OnChange.
    void SetPosition(int v);
    int Frequency() const { return m_frequency; }
    void SetFrequency(int f);
    TTrackBarOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TTrackBarOrientation o);

    TNotifyEvent OnChange;

protected:
    bool ClickOnMouseUp() const override { return false; }

private:
    void Sync();
    int m_min = 0, m_max = 10, m_position = 0, m_frequency = 1;
    TTrackBarOrientation m_orientation = trHorizontal;
    bool m_syncing = false;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TMemo"); }
    TStrings* Lines() { return &m_lines; }
    QString Text() const override { return m_lines.Text(); }
    void SetText(const QString& t) override { m_lines.SetText(t); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool r);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool w);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle s);
    void Clear() { m_lines.Clear(); }

    TNotifyEvent OnChange;

protected:
    void ColorChanged() override;
    bool ClickOnMouseUp() const override { return false; }

private:
    void Push();
    TStrings m_lines;
    bool m_readOnly = false;
    bool m_wordWrap = true;
    TScrollStyle m_scrollBars = ssNone;
    bool m_syncing = false;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TEdit"); }
    QString Text() const override;
    void SetText(const QString& t) override;
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int n);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool r);

    TNotifyEvent OnChange;

protected:
    void ColorChanged() override;
    bool ClickOnMouseUp() const override { return false; }

private:
    int m_maxLength = 0;
    bool m_readOnly = false;
};
