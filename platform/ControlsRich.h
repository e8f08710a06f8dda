#pragma once
// The rich-edit box the exercises take answers in: text with a font per character
// (name, height, colour, style, character set), caret and selection, the
// framework's key events, and a character filter for everything that arrives
// from outside (typed, injected, pasted or dropped): every character passes
// OnKeyPress one at a time before it is inserted, and a length cap applies.
// Enter is reported through OnKeyPress as #13 and inserted only where returns
// are wanted.
#include "platform/ControlsCom.h"
#include "platform/Forms.h"

#include <vector>

class TRichEdit;

// The look of one character.
struct TCharFormat {
    QString Name = QStringLiteral("MS Sans Serif");
    int Height = -11; // pixels; negative: character height
    TColor Color = clWindowText;
    TFontStyles Style = 0;
    TFontCharset Charset = DEFAULT_CHARSET;
    bool operator==(const TCharFormat&) const = default;
    void ToFont(TFont& f) const;
    static TCharFormat FromFont(const TFont& f);
};

// SelAttributes and DefAttributes: read the selection's (or the default) look and
// change it.
class TTextAttributes {
public:
    enum Kind { Selection, Default };
    TTextAttributes(TRichEdit* edit, Kind kind) : m_edit(edit), m_kind(kind) {}
    TColor Color() const { return get().Color; }
    void SetColor(TColor c);
    QString Name() const { return get().Name; }
    void SetName(const QString& n);
    // Points (96 pixels per inch).
    int Size() const;
    void SetSize(int points);
    int Height() const { return get().Height; }
    void SetHeight(int h);
    TFontStyles Style() const { return get().Style; }
    void SetStyle(TFontStyles s);
    TFontCharset Charset() const { return get().Charset; }
    void SetCharset(TFontCharset c);
    void Assign(const TFont& f);
    void AssignTo(TFont& f) const { get().ToFont(f); }

private:
    TCharFormat get() const;
    template <class F> void change(F f);
    TRichEdit* m_edit;
    Kind m_kind;
};

// The lines of a rich-edit box.
class TRichLines {
public:
    explicit TRichLines(TRichEdit* edit) : m_edit(edit) {}
    int Count() const;
    QString Strings(int i) const;
    QString operator[](int i) const { return Strings(i); }
    void SetStrings(int i, const QString& s);
    int Add(const QString& s);
    void Delete(int i);
    void Clear();
    QString Text() const;
    void SetText(const QString& t);

private:
    TRichEdit* m_edit;
};

class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TRichEdit"); }

    // Lines joined by CR LF.
    QString Text() const override;
    void SetText(const QString& t) override;
    int GetTextLen() const { return static_cast<int>(m_chars.size()); }
    TRichLines* Lines() { return &m_lines; }
    void Clear() { SetText(QString()); }

    // Character positions count a line break as one.
    int SelStart() const { return std::min(m_caret, m_anchor); }
    void SetSelStart(int p);
    int SelLength() const { return std::abs(m_caret - m_anchor); }
    void SetSelLength(int n);
    QString SelText() const;
    // Replaces the selection (no filter: the program's own text), caret after it.
    void SetSelText(const QString& t);
    void SelectAll();
    TTextAttributes* SelAttributes() { return &m_selAttributes; }
    TTextAttributes* DefAttributes() { return &m_defAttributes; }

    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int n) { m_maxLength = std::max(0, n); }
    // Upper bound of characters taken from one paste or drop when MaxLength is 0.
    static constexpr int PasteLimit = 256;
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool r) { m_readOnly = r; }
    bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool w) { m_wantReturns = w; }
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool h) {
        m_hideSelection = h;
        Invalidate();
    }
    bool PlainText() const { return m_plainText; }
    void SetPlainText(bool p) { m_plainText = p; }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool w) { m_wordWrap = w; }
    // Alignment of the box's paragraphs (the answer boxes of the schemes centre theirs).
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a) {
        m_alignment = a;
        Invalidate();
    }
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle b) {
        m_borderStyle = b;
        Invalidate();
    }

    // Text from outside, as a paste or drop brings it: each character through the
    // key filter, then inserted; line breaks and control characters are left out.
    void InsertFiltered(const QString& text);
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;

    // The look of the character at p (the default one outside the text).
    TCharFormat FormatAt(int p) const;
    const TCharFormat& DefaultFormat() const { return m_default; }
    // Where a typed character gets its look from.
    TCharFormat InsertionFormat() const;

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;
    bool HandleEvent(QEvent* e) override;

    // --- used by the attribute and line objects ---
    void ApplyFormat(TTextAttributes::Kind kind, const std::function<void(TCharFormat&)>& f);
    QStringList LineList() const;
    void SetLineList(const QStringList& lines);

protected:
    void FontChanged() override;
    bool ClickOnMouseUp() const override { return false; }

private:
    struct Char {
        char16_t ch;
        TCharFormat fmt;
    };
    // Inserts at the caret in place of the selection; false when nothing fit.
    bool insertText(const QString& t, const TCharFormat& fmt, bool capped);
    void deleteRange(int from, int to);
    void changed();
    void setCaret(int p, bool extend);
    int positionAt(int x, int y) const;
    int lineHeight(int line) const;
    // x of position p within its line (unscrolled), and its line.
    int xOf(int p, int* line) const;
    // Where line `line` starts, from the box's inner left edge, by the alignment.
    int lineIndent(int line) const;
    void ensureCaretVisible();
    void handleTypedChar(char16_t ch);

    std::vector<Char> m_chars; // '\n' separates lines
    TCharFormat m_default;
    TCharFormat m_pending;
    bool m_hasPending = false;
    int m_caret = 0;
    int m_anchor = 0;
    int m_scrollX = 0;
    int m_maxLength = 0;
    bool m_readOnly = false;
    bool m_wantReturns = false;
    bool m_hideSelection = true;
    bool m_plainText = false;
    bool m_wordWrap = false;
    TAlignment m_alignment = taLeftJustify;
    TFormBorderStyle m_borderStyle = bsSingle;
    bool m_dragging = false;
    TTextAttributes m_selAttributes{this, TTextAttributes::Selection};
    TTextAttributes m_defAttributes{this, TTextAttributes::Default};
    TRichLines m_lines{this};
};
