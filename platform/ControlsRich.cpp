#include "platform/ControlsRich.h"

#include "platform/Fonts.h"
#include "platform/Keys.h"
#include "platform/TextMetrics.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QColor qc(TColor c) {
    return ToQColor(ColorToRGB(c));
}
constexpr int kInset = 3;

int charWidth(const TCharFormat& fmt, char16_t ch) {
    TFont f;
    fmt.ToFont(f);
    return TextMetrics().TextWidth(f, QString(QChar(ch)));
}

} // namespace

// ---- formats and attributes ---------------------------------------------------------

void TCharFormat::ToFont(TFont& f) const {
    f.SetName(Name);
    f.SetHeight(Height);
    f.SetColor(Color);
    f.SetStyle(Style);
    f.SetCharset(Charset);
}

TCharFormat TCharFormat::FromFont(const TFont& f) {
    TCharFormat c;
    c.Name = f.Name();
    c.Height = f.Height();
    c.Color = f.Color();
    c.Style = f.Style();
    c.Charset = f.Charset();
    return c;
}

TCharFormat TTextAttributes::get() const {
    if (m_kind == Default) return m_edit->DefaultFormat();
    if (m_edit->SelLength() > 0) return m_edit->FormatAt(m_edit->SelStart());
    return m_edit->InsertionFormat();
}

template <class F> void TTextAttributes::change(F f) {
    m_edit->ApplyFormat(m_kind, f);
}

void TTextAttributes::SetColor(TColor c) {
    change([c](TCharFormat& f) { f.Color = c; });
}
void TTextAttributes::SetName(const QString& n) {
    change([n](TCharFormat& f) { f.Name = n; });
}
int TTextAttributes::Size() const {
    int h = get().Height;
    return static_cast<int>(std::lround(std::abs(h) * 72.0 / 96.0));
}
void TTextAttributes::SetSize(int points) {
    int h = -static_cast<int>(std::lround(points * 96.0 / 72.0));
    change([h](TCharFormat& f) { f.Height = h; });
}
void TTextAttributes::SetHeight(int h) {
    change([h](TCharFormat& f) { f.Height = h; });
}
void TTextAttributes::SetStyle(TFontStyles s) {
    change([s](TCharFormat& f) { f.Style = s; });
}
void TTextAttributes::SetCharset(TFontCharset c) {
    change([c](TCharFormat& f) { f.Charset = c; });
}
void TTextAttributes::Assign(const TFont& font) {
    TCharFormat n = TCharFormat::FromFont(font);
    change([n](TCharFormat& f) { f = n; });
}

// ---- lines -------------------------------------------------------------------------

int TRichLines::Count() const {
    return static_cast<int>(m_edit->LineList().size());
}
QString TRichLines::Strings(int i) const {
    return m_edit->LineList().value(i);
}

void TRichLines::SetStrings(int i, const QString& s) {
    QStringList l = m_edit->LineList();
    if (i < 0 || i >= l.size()) return;
    l[i] = s;
    m_edit->SetLineList(l);
}

int TRichLines::Add(const QString& s) {
    QStringList l = m_edit->LineList();
    l << s;
    m_edit->SetLineList(l);
    return static_cast<int>(l.size()) - 1;
}

void TRichLines::Delete(int i) {
    QStringList l = m_edit->LineList();
    if (i < 0 || i >= l.size()) return;
    l.removeAt(i);
    m_edit->SetLineList(l);
}

void TRichLines::Clear() {
    m_edit->SetLineList(QStringList());
}
QString TRichLines::Text() const {
    return m_edit->Text();
}
void TRichLines::SetText(const QString& t) {
    m_edit->SetText(t);
}

// ---- TRichEdit ---------------------------------------------------------------------

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QWidget>(this);
    w->setFocusPolicy(Qt::StrongFocus);
    w->setAcceptDrops(true);
    w->setAttribute(Qt::WA_InputMethodEnabled, true);
    w->setCursor(Qt::IBeamCursor);
    Attach(w, w);
    SetTabStop(true);
    SetColor(clWindow);
    m_width = 185;
    m_height = 89;
}

void TRichEdit::FontChanged() {
    TWinControl::FontChanged();
    m_default = TCharFormat::FromFont(*Font());
    for (Char& c : m_chars)
        c.fmt = m_default;
    m_hasPending = false;
    Invalidate();
}

QString TRichEdit::Text() const {
    QString s;
    s.reserve(static_cast<int>(m_chars.size()));
    for (const Char& c : m_chars) {
        if (c.ch == u'\n')
            s += QStringLiteral("\r\n");
        else
            s += QChar(c.ch);
    }
    return s;
}

QStringList TRichEdit::LineList() const {
    QStringList out;
    if (m_chars.empty()) return out;
    QString cur;
    for (const Char& c : m_chars) {
        if (c.ch == u'\n') {
            out << cur;
            cur.clear();
        } else {
            cur += QChar(c.ch);
        }
    }
    out << cur;
    return out;
}

void TRichEdit::SetLineList(const QStringList& lines) {
    // Each line keeps the look of its first character.
    std::vector<TCharFormat> lineFormats;
    int start = 0;
    for (int i = 0; i <= static_cast<int>(m_chars.size()); ++i)
        if (i == static_cast<int>(m_chars.size()) || m_chars[static_cast<size_t>(i)].ch == u'\n') {
            lineFormats.push_back(FormatAt(start));
            start = i + 1;
        }
    std::vector<Char> chars;
    for (int l = 0; l < lines.size(); ++l) {
        TCharFormat fmt =
            l < static_cast<int>(lineFormats.size()) ? lineFormats[static_cast<size_t>(l)] : m_default;
        if (l > 0) chars.push_back({u'\n', fmt});
        for (QChar ch : lines[l])
            if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n')) chars.push_back({ch.unicode(), fmt});
    }
    m_chars = std::move(chars);
    m_caret = m_anchor = std::min(m_caret, GetTextLen());
    m_hasPending = false;
    changed();
}

void TRichEdit::SetText(const QString& t) {
    QString s = t;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    TCharFormat fmt = m_chars.empty() ? m_default : m_chars.front().fmt;
    m_chars.clear();
    for (QChar ch : s)
        m_chars.push_back({ch.unicode(), fmt});
    m_caret = m_anchor = 0;
    m_scrollX = 0;
    m_hasPending = false;
    changed();
}

TCharFormat TRichEdit::FormatAt(int p) const {
    if (p >= 0 && p < GetTextLen()) return m_chars[static_cast<size_t>(p)].fmt;
    if (p > 0 && p - 1 < GetTextLen()) return m_chars[static_cast<size_t>(p - 1)].fmt;
    return m_default;
}

TCharFormat TRichEdit::InsertionFormat() const {
    if (m_hasPending) return m_pending;
    int p = SelStart();
    if (p > 0 && m_chars[static_cast<size_t>(p - 1)].ch != u'\n')
        return m_chars[static_cast<size_t>(p - 1)].fmt;
    if (p < GetTextLen()) return m_chars[static_cast<size_t>(p)].fmt;
    return p > 0 ? m_chars[static_cast<size_t>(p - 1)].fmt : m_default;
}

void TRichEdit::ApplyFormat(TTextAttributes::Kind kind, const std::function<void(TCharFormat&)>& f) {
    if (kind == TTextAttributes::Default) {
        f(m_default);
        for (Char& c : m_chars)
            f(c.fmt);
    } else if (SelLength() > 0) {
        for (int i = SelStart(); i < SelStart() + SelLength(); ++i)
            f(m_chars[static_cast<size_t>(i)].fmt);
    } else {
        TCharFormat n = InsertionFormat();
        f(n);
        m_pending = n;
        m_hasPending = true;
    }
    Invalidate();
}

void TRichEdit::setCaret(int p, bool extend) {
    p = std::clamp(p, 0, GetTextLen());
    if (p == m_caret && (extend || m_anchor == p)) return;
    m_caret = p;
    if (!extend) m_anchor = p;
    m_hasPending = false;
    ensureCaretVisible();
    Invalidate();
    if (OnSelectionChange) OnSelectionChange(this);
}

void TRichEdit::SetSelStart(int p) {
    setCaret(p, false);
}

void TRichEdit::SetSelLength(int n) {
    int start = SelStart();
    m_anchor = start;
    m_caret = std::clamp(start + std::max(0, n), 0, GetTextLen());
    m_hasPending = false;
    Invalidate();
}

QString TRichEdit::SelText() const {
    QString s;
    for (int i = SelStart(); i < SelStart() + SelLength(); ++i) {
        char16_t ch = m_chars[static_cast<size_t>(i)].ch;
        if (ch == u'\n')
            s += QStringLiteral("\r\n");
        else
            s += QChar(ch);
    }
    return s;
}

void TRichEdit::SetSelText(const QString& t) {
    QString s = t;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    insertText(s, InsertionFormat(), false);
}

void TRichEdit::SelectAll() {
    m_anchor = 0;
    m_caret = GetTextLen();
    Invalidate();
}

void TRichEdit::deleteRange(int from, int to) {
    from = std::clamp(from, 0, GetTextLen());
    to = std::clamp(to, from, GetTextLen());
    m_chars.erase(m_chars.begin() + from, m_chars.begin() + to);
    m_caret = m_anchor = from;
}

bool TRichEdit::insertText(const QString& t, const TCharFormat& fmt, bool capped) {
    int start = SelStart();
    int selLen = SelLength();
    int room = t.size();
    if (capped && m_maxLength > 0) room = std::min(room, m_maxLength - (GetTextLen() - selLen));
    if (room <= 0 && selLen == 0) return false;
    deleteRange(start, start + selLen);
    std::vector<Char> ins;
    for (int i = 0; i < std::max(0, room); ++i)
        ins.push_back({t[i].unicode(), fmt});
    m_chars.insert(m_chars.begin() + start, ins.begin(), ins.end());
    m_caret = m_anchor = start + static_cast<int>(ins.size());
    m_hasPending = false;
    changed();
    return room > 0;
}

void TRichEdit::changed() {
    m_caret = std::clamp(m_caret, 0, GetTextLen());
    m_anchor = std::clamp(m_anchor, 0, GetTextLen());
    ensureCaretVisible();
    Invalidate();
    if (OnChange) {
        TFormBusy busy(ParentForm());
        OnChange(this);
    }
}

void TRichEdit::handleTypedChar(char16_t ch) {
    if (!FilterKeyPress(ch)) return;
    if (ch == 8) {
        if (m_readOnly) return;
        if (SelLength() > 0) {
            deleteRange(SelStart(), SelStart() + SelLength());
            changed();
        } else if (m_caret > 0) {
            deleteRange(m_caret - 1, m_caret);
            changed();
        }
        return;
    }
    if (ch == 13) {
        if (m_wantReturns && !m_readOnly) insertText(QStringLiteral("\n"), InsertionFormat(), true);
        return;
    }
    if (ch < 32 || m_readOnly) return;
    insertText(QString(QChar(ch)), InsertionFormat(), true);
}

void TRichEdit::InsertFiltered(const QString& text) {
    if (m_readOnly) return;
    const int cap = m_maxLength > 0 ? m_maxLength : GetTextLen() + PasteLimit;
    int taken = 0;
    for (QChar qch : text) {
        char16_t ch = qch.unicode();
        if (ch < 32 || ch == 127) continue;
        if (GetTextLen() - SelLength() >= cap || taken >= PasteLimit) break;
        ++taken;
        if (!FilterKeyPress(ch) || ch < 32) continue;
        insertText(QString(QChar(ch)), InsertionFormat(), true);
    }
}

void TRichEdit::CopyToClipboard() {
    if (SelLength() > 0) QGuiApplication::clipboard()->setText(SelText());
}

void TRichEdit::CutToClipboard() {
    if (SelLength() == 0 || m_readOnly) return;
    CopyToClipboard();
    deleteRange(SelStart(), SelStart() + SelLength());
    changed();
}

void TRichEdit::PasteFromClipboard() {
    InsertFiltered(QGuiApplication::clipboard()->text());
}

// ---- layout --------------------------------------------------------------------------

int TRichEdit::lineHeight(int line) const {
    TFont f;
    m_default.ToFont(f);
    int h = TextMetrics().Height(f);
    int l = 0;
    for (const Char& c : m_chars) {
        if (c.ch == u'\n') {
            ++l;
            continue;
        }
        if (l == line) {
            c.fmt.ToFont(f);
            h = std::max(h, TextMetrics().Height(f));
        }
    }
    return h;
}

int TRichEdit::xOf(int p, int* line) const {
    int l = 0, x = 0;
    for (int i = 0; i < p && i < GetTextLen(); ++i) {
        const Char& c = m_chars[static_cast<size_t>(i)];
        if (c.ch == u'\n') {
            ++l;
            x = 0;
        } else {
            x += charWidth(c.fmt, c.ch);
        }
    }
    if (line) *line = l;
    return x;
}

int TRichEdit::lineIndent(int line) const {
    if (m_alignment == taLeftJustify) return 0;
    int l = 0, w = 0;
    for (const Char& c : m_chars) {
        if (c.ch == u'\n') {
            if (++l > line) break;
            continue;
        }
        if (l == line) w += charWidth(c.fmt, c.ch);
    }
    const int room = std::max(0, m_width - 2 * kInset - w);
    return m_alignment == taCenter ? room / 2 : room;
}

int TRichEdit::positionAt(int x, int y) const {
    int line = 0, top = kInset;
    int lines = std::max(1, static_cast<int>(LineList().size()));
    while (line < lines - 1 && y >= top + lineHeight(line)) {
        top += lineHeight(line);
        ++line;
    }
    int l = 0, i = 0;
    while (i < GetTextLen() && l < line) {
        if (m_chars[static_cast<size_t>(i)].ch == u'\n') ++l;
        ++i;
    }
    int cx = kInset - m_scrollX + lineIndent(line);
    while (i < GetTextLen() && m_chars[static_cast<size_t>(i)].ch != u'\n') {
        int w = charWidth(m_chars[static_cast<size_t>(i)].fmt, m_chars[static_cast<size_t>(i)].ch);
        if (x < cx + w / 2) break;
        cx += w;
        ++i;
    }
    return i;
}

void TRichEdit::ensureCaretVisible() {
    int x = xOf(m_caret, nullptr);
    int room = std::max(1, m_width - 2 * kInset);
    if (x - m_scrollX > room) m_scrollX = x - room;
    if (x < m_scrollX) m_scrollX = x;
    if (m_scrollX < 0) m_scrollX = 0;
}

void TRichEdit::PaintWidget(QPainter& p) {
    QRect r(0, 0, m_width, m_height);
    p.fillRect(r, qc(Color()));
    if (m_borderStyle != bsNone) {
        p.setPen(qc(clBtnShadow));
        p.drawLine(0, 0, m_width - 1, 0);
        p.drawLine(0, 0, 0, m_height - 1);
        p.setPen(qc(clBtnHighlight));
        p.drawLine(0, m_height - 1, m_width - 1, m_height - 1);
        p.drawLine(m_width - 1, 0, m_width - 1, m_height - 1);
    }
    p.setClipRect(1, 1, std::max(0, m_width - 2), std::max(0, m_height - 2));
    const bool showSel = Focused() || !m_hideSelection;
    const int s0 = SelStart(), s1 = SelStart() + SelLength();
    TCanvas canvas(&p);
    canvas.Brush()->SetStyle(bsClear);
    int line = 0, top = kInset;
    int x = kInset - m_scrollX + lineIndent(0);
    int lh = lineHeight(0);
    int caretX = -1, caretTop = top, caretH = lh;
    for (int i = 0; i <= GetTextLen(); ++i) {
        if (i == m_caret) {
            caretX = x;
            caretTop = top;
            caretH = lh;
        }
        if (i == GetTextLen()) break;
        const Char& c = m_chars[static_cast<size_t>(i)];
        if (c.ch == u'\n') {
            top += lh;
            ++line;
            lh = lineHeight(line);
            x = kInset - m_scrollX + lineIndent(line);
            continue;
        }
        TFont f;
        c.fmt.ToFont(f);
        int w = TextMetrics().TextWidth(f, QString(QChar(c.ch)));
        int asc = TextMetrics().Ascent(f);
        int base = top + lh - TextMetrics().Descent(f) - asc;
        bool sel = showSel && i >= s0 && i < s1;
        if (sel) {
            p.fillRect(x, top, w, lh, qc(clHighlight));
            f.SetColor(clHighlightText);
        }
        canvas.Font()->Assign(f);
        canvas.TextOut(x, base, QString(QChar(c.ch)));
        x += w;
    }
    if (Focused() && SelLength() == 0 && caretX >= 0) {
        p.setPen(Qt::black);
        p.drawLine(caretX, caretTop, caretX, caretTop + caretH - 1);
    }
}

// ---- events --------------------------------------------------------------------------

bool TRichEdit::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (!Enabled()) return true;
        // Tab moves on to the next control, as in a dialog.
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) return false;
        TFormBusy busy(ParentForm());
        uint16_t vk = VirtualKeyOf(*ke);
        TShiftState shift = 0;
        if (ke->modifiers() & Qt::ShiftModifier) shift |= ssShift;
        if (ke->modifiers() & Qt::ControlModifier) shift |= ssCtrl;
        if (ke->modifiers() & Qt::AltModifier) shift |= ssAlt;
        if (vk != 0 && !FilterKeyDown(vk, shift)) return true;
        const bool ext = shift & ssShift;
        const bool ctrl = shift & ssCtrl;
        switch (vk) {
        case VK_LEFT:
            if (!ext && SelLength() > 0)
                setCaret(SelStart(), false);
            else
                setCaret(m_caret - 1, ext);
            return true;
        case VK_RIGHT:
            if (!ext && SelLength() > 0)
                setCaret(SelStart() + SelLength(), false);
            else
                setCaret(m_caret + 1, ext);
            return true;
        case VK_HOME: {
            int p = m_caret;
            while (p > 0 && m_chars[static_cast<size_t>(p - 1)].ch != u'\n')
                --p;
            setCaret(ctrl ? 0 : p, ext);
            return true;
        }
        case VK_END: {
            int p = m_caret;
            while (p < GetTextLen() && m_chars[static_cast<size_t>(p)].ch != u'\n')
                ++p;
            setCaret(ctrl ? GetTextLen() : p, ext);
            return true;
        }
        case VK_UP:
        case VK_DOWN: {
            int line = 0;
            int x = xOf(m_caret, &line);
            int target = vk == VK_UP ? line - 1 : line + 1;
            if (target < 0 || target >= static_cast<int>(LineList().size())) return true;
            int y = kInset;
            for (int l = 0; l < target; ++l)
                y += lineHeight(l);
            setCaret(positionAt(x + kInset - m_scrollX + lineIndent(line), y + 1), ext);
            return true;
        }
        case VK_DELETE:
            if (ext) {
                CutToClipboard();
            } else if (!m_readOnly) {
                if (SelLength() > 0)
                    deleteRange(SelStart(), SelStart() + SelLength());
                else if (m_caret < GetTextLen())
                    deleteRange(m_caret, m_caret + 1);
                else
                    return true;
                changed();
            }
            return true;
        case VK_INSERT:
            if (ctrl)
                CopyToClipboard();
            else if (ext)
                PasteFromClipboard();
            return true;
        default:
            break;
        }
        if (ctrl && !(shift & ssAlt)) {
            switch (vk) {
            case 'C':
                CopyToClipboard();
                return true;
            case 'X':
                CutToClipboard();
                return true;
            case 'V':
                PasteFromClipboard();
                return true;
            case 'A':
                SelectAll();
                return true;
            default:
                break;
            }
        }
        char16_t ch = KeyCharOf(*ke);
        if (ch != 0) handleTypedChar(ch);
        return true;
    }
    case QEvent::InputMethod: {
        auto* ie = static_cast<QInputMethodEvent*>(e);
        InsertFiltered(ie->commitString());
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (Enabled() && me->button() == Qt::LeftButton) {
            SetFocus();
            int pos = positionAt(static_cast<int>(me->position().x()), static_cast<int>(me->position().y()));
            setCaret(pos, me->modifiers() & Qt::ShiftModifier);
            m_dragging = true;
        }
        TWinControl::HandleEvent(e);
        return true;
    }
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (m_dragging)
            setCaret(positionAt(static_cast<int>(me->position().x()), static_cast<int>(me->position().y())),
                     true);
        TWinControl::HandleEvent(e);
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        TWinControl::HandleEvent(e);
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* de = static_cast<QDropEvent*>(e);
        if (!m_readOnly && de->mimeData() && de->mimeData()->hasText())
            de->acceptProposedAction();
        else
            de->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* de = static_cast<QDropEvent*>(e);
        if (m_readOnly || !de->mimeData() || !de->mimeData()->hasText()) {
            de->ignore();
            return true;
        }
        setCaret(positionAt(static_cast<int>(de->position().x()), static_cast<int>(de->position().y())),
                 false);
        // Dropped text is copied, never moved, so the source keeps it.
        de->setDropAction(Qt::CopyAction);
        de->accept();
        InsertFiltered(de->mimeData()->text());
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        Invalidate();
        return TWinControl::HandleEvent(e);
    default:
        return TWinControl::HandleEvent(e);
    }
}
