#include "platform/ControlsStd.h"

#include <QRegularExpression>

#include "platform/Fonts.h"
#include "platform/Keys.h"
#include "platform/TextMetrics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <climits>

namespace {

using PlainWidget = THooked<QWidget>;

int textWidth(const TFont& f, const QString& s) {
    return TextMetrics().TextWidth(f, s);
}
int textHeight(const TFont& f) {
    return TextMetrics().Height(f);
}

QColor qc(TColor c) {
    return ToQColor(ColorToRGB(c));
}

// Draws text by its top-left corner through the canvas (Symbol text included).
void drawText(QPainter& p, const TFont& font, int x, int y, const QString& s, TColor color) {
    TCanvas c(&p);
    c.Font()->Assign(font);
    c.Font()->SetColor(color);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(x, y, s);
}

// Splits text into lines that fit width (at blanks), as word-wrapping labels do.
// A scaled font breaks the lines where its design font breaks them in the
// design width, so that they fit when set in the font of ScaledTextFont.
QStringList wrapLines(const TFont& scaled, const QString& text, int scaledWidth, bool wrap) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList paragraphs = t.split(QLatin1Char('\n'));
    if (!wrap) return paragraphs;
    const TFont font = DesignFont(scaled);
    const int width = DesignRoom(scaled, scaledWidth);
    QStringList out;
    for (const QString& para : paragraphs) {
        QString line;
        const QStringList words = para.split(QLatin1Char(' '));
        for (int i = 0; i < words.size(); ++i) {
            QString candidate = line.isEmpty() && i == 0 ? words[i] : line + QLatin1Char(' ') + words[i];
            if (!line.isEmpty() && textWidth(font, candidate) > width) {
                out << line;
                line = words[i];
            } else {
                line = candidate;
            }
        }
        out << line;
    }
    return out;
}

// A control sized to its text sets it in the font it was measured in; any
// other keeps its lines within its room.
void paintAlignedText(QPainter& p, const TFont& scaled, const QRect& r, const QString& text, TAlignment align,
                      TTextLayout layout, bool wrap, bool enabled, bool sizedToText) {
    QStringList lines = wrapLines(scaled, text, r.width(), wrap);
    const TFont font = ScaledTextFont(scaled, lines, sizedToText ? INT_MAX : r.width());
    int lh = textHeight(font);
    int total = lh * static_cast<int>(lines.size());
    int y = r.top();
    if (layout == tlCenter)
        y = r.top() + (r.height() - total) / 2;
    else if (layout == tlBottom)
        y = r.bottom() + 1 - total;
    for (const QString& line : lines) {
        int w = textWidth(font, line);
        int x = r.left();
        if (align == taCenter)
            x = r.left() + (r.width() - w) / 2;
        else if (align == taRightJustify)
            x = r.right() + 1 - w;
        if (enabled) {
            drawText(p, font, x, y, line, font.Color());
        } else {
            drawText(p, font, x + 1, y + 1, line, clBtnHighlight);
            drawText(p, font, x, y, line, clBtnShadow);
        }
        y += lh;
    }
}

void line(QPainter& p, TColor c, int x1, int y1, int x2, int y2) {
    p.setPen(qc(c));
    p.drawLine(x1, y1, x2, y2);
}

// The framework's two-line 3-D frame.
void paintButtonFrame(QPainter& p, const QRect& r, bool down) {
    int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
    if (down) {
        line(p, cl3DDkShadow, l, t, rr, t);
        line(p, cl3DDkShadow, l, t, l, b);
        line(p, clBtnShadow, l + 1, t + 1, rr - 1, t + 1);
        line(p, clBtnShadow, l + 1, t + 1, l + 1, b - 1);
        line(p, clBtnHighlight, l, b, rr, b);
        line(p, clBtnHighlight, rr, t, rr, b);
    } else {
        line(p, clBtnHighlight, l, t, rr - 1, t);
        line(p, clBtnHighlight, l, t, l, b - 1);
        line(p, cl3DDkShadow, l, b, rr, b);
        line(p, cl3DDkShadow, rr, t, rr, b);
        line(p, clBtnShadow, l + 1, b - 1, rr - 1, b - 1);
        line(p, clBtnShadow, rr - 1, t + 1, rr - 1, b - 1);
    }
}

QImage glyphImage(TBitmap* glyph, int numGlyphs, int index) {
    if (!glyph || glyph->Empty()) return QImage();
    QImage all = glyph->ToImage().convertToFormat(QImage::Format_ARGB32);
    int n = std::max(1, numGlyphs);
    int w = all.width() / n;
    if (index >= n) index = 0;
    QImage img = all.copy(index * w, 0, w, all.height());
    // The bottom-left pixel's colour is see-through, as with the framework's glyphs.
    if (img.height() > 0 && img.width() > 0) {
        QRgb key = img.pixel(0, img.height() - 1);
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) row[x] = 0;
        }
    }
    return img;
}

} // namespace

void PaintGlyphAndCaption(QPainter& p, const QRect& face, TBitmap* glyph, int numGlyphs, bool enabled,
                          TButtonLayout layout, int margin, int spacing, const TFont& captionFont,
                          const QString& caption, bool down) {
    int index = 0;
    if (!enabled && numGlyphs > 1)
        index = 1;
    else if (down && numGlyphs > 2)
        index = 2;
    QImage img = glyphImage(glyph, numGlyphs, index);
    if (!enabled && numGlyphs <= 1 && !img.isNull()) {
        // Grey, but keep what was transparent transparent.
        img = img.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* px = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                int g = qGray(px[x]);
                px[x] = qRgba(g, g, g, qAlpha(px[x]));
            }
        }
    }
    int gw = img.isNull() ? 0 : img.width(), gh = img.isNull() ? 0 : img.height();
    // A caption breaks into lines at carriage returns ("weitere\rWerkzeuge").
    const QStringList lines = caption.isEmpty() ? QStringList() : caption.split(QRegularExpression("\r\n|\r|\n"));
    const int room = layout == blGlyphLeft || layout == blGlyphRight
                         ? face.width() - (gw > 0 ? gw + spacing : 0)
                         : face.width();
    const TFont font = ScaledTextFont(captionFont, lines, room);
    int tw = 0;
    for (const QString& l : lines) tw = std::max(tw, textWidth(font, l));
    const int lineHeight = textHeight(font);
    int th = static_cast<int>(lines.size()) * lineHeight;
    int gap = (gw > 0 && tw > 0) ? spacing : 0;
    int off = down ? 1 : 0;
    int gx, gy, tx, ty;
    if (layout == blGlyphLeft || layout == blGlyphRight) {
        int total = gw + gap + tw;
        int start = margin < 0 ? face.left() + (face.width() - total) / 2 : face.left() + margin;
        gy = face.top() + (face.height() - gh) / 2;
        ty = face.top() + (face.height() - th) / 2;
        if (layout == blGlyphLeft) {
            gx = start;
            tx = start + gw + gap;
        } else {
            tx = start;
            gx = start + tw + gap;
        }
    } else {
        int total = gh + gap + th;
        int start = margin < 0 ? face.top() + (face.height() - total) / 2 : face.top() + margin;
        gx = face.left() + (face.width() - gw) / 2;
        tx = face.left() + (face.width() - tw) / 2;
        if (layout == blGlyphTop) {
            gy = start;
            ty = start + gh + gap;
        } else {
            ty = start;
            gy = start + th + gap;
        }
    }
    if (!img.isNull()) p.drawImage(gx + off, gy + off, img);
    for (int i = 0; i < lines.size(); ++i) {
        const QString& l = lines[i];
        int lx = tx + (tw - textWidth(font, l)) / 2;
        int ly = ty + i * lineHeight;
        if (enabled) {
            drawText(p, font, lx + off, ly + off, l, font.Color());
        } else {
            drawText(p, font, lx + 1, ly + 1, l, clBtnHighlight);
            drawText(p, font, lx, ly, l, clBtnShadow);
        }
    }
}

void PaintBevel(QPainter& p, QRect& r, TBevelCut cut, int w) {
    if (cut == bvNone || w <= 0) return;
    for (int i = 0; i < w; ++i) {
        TColor tl = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor br = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == bvSpace) tl = br = clBtnFace;
        line(p, tl, r.left(), r.top(), r.right(), r.top());
        line(p, tl, r.left(), r.top(), r.left(), r.bottom());
        line(p, br, r.left(), r.bottom(), r.right(), r.bottom());
        line(p, br, r.right(), r.top(), r.right(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
}

// ---- TLabel ------------------------------------------------------------------------

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    SetParentColor(true);
    m_width = 65;
    m_height = 17;
}

void TLabel::SetAutoSize(bool a) {
    m_autoSize = a;
    AdjustSize();
}
void TLabel::SetAlignment(TAlignment a) {
    m_alignment = a;
    Invalidate();
}
void TLabel::SetLayout(TTextLayout l) {
    m_layout = l;
    Invalidate();
}
void TLabel::SetTransparent(bool t) {
    m_transparent = t;
    Invalidate();
}
void TLabel::SetWordWrap(bool w) {
    m_wordWrap = w;
    AdjustSize();
    Invalidate();
}

void TLabel::CaptionChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged() {
    TControl::FontChanged();
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!m_autoSize || Align() == alClient) return;
    QStringList lines = wrapLines(*Font(), m_caption, m_width, m_wordWrap);
    int h = textHeight(*Font()) * static_cast<int>(lines.size());
    if (m_wordWrap) {
        SetBounds(m_left, m_top, m_width, h);
        return;
    }
    const TFont font = ScaledTextFont(*Font(), lines);
    int w = 0;
    for (const QString& l : lines)
        w = std::max(w, textWidth(font, l));
    // Right-aligned labels grow to the left, as the framework's do.
    int left = m_alignment == taRightJustify ? m_left + m_width - w : m_left;
    SetBounds(left, m_top, w, h);
}

void TLabel::PaintWidget(QPainter& p) {
    if (!m_transparent) p.fillRect(0, 0, m_width, m_height, qc(Color()));
    paintAlignedText(p, *Font(), QRect(0, 0, m_width, m_height), m_caption, m_alignment, m_layout, m_wordWrap,
                     Enabled(), m_autoSize && !m_wordWrap);
}

// ---- TStaticText -------------------------------------------------------------------

TStaticText::TStaticText(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    SetParentColor(true);
    m_width = 65;
    m_height = 17;
}

void TStaticText::SetAlignment(TAlignment a) {
    m_alignment = a;
    Invalidate();
}
void TStaticText::SetBorderStyle(TStaticBorderStyle b) {
    m_border = b;
    AdjustSize();
    Invalidate();
}
void TStaticText::SetAutoSize(bool a) {
    m_autoSize = a;
    AdjustSize();
}
void TStaticText::SetTransparent(bool t) {
    m_transparent = t;
    Invalidate();
}
void TStaticText::CaptionChanged() {
    AdjustSize();
    Invalidate();
}
void TStaticText::FontChanged() {
    TWinControl::FontChanged();
    AdjustSize();
}

void TStaticText::AdjustSize() {
    if (!m_autoSize) return;
    int border = m_border == sbsNone ? 0 : 2;
    SetBounds(m_left, m_top, textWidth(ScaledTextFont(*Font(), {m_caption}), m_caption) + 2 * border,
              textHeight(*Font()) + 2 * border);
}

void TStaticText::PaintWidget(QPainter& p) {
    QRect r(0, 0, m_width, m_height);
    if (!m_transparent) p.fillRect(r, qc(Color()));
    if (m_border == sbsSingle) {
        p.setPen(qc(clWindowFrame));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    } else if (m_border == sbsSunken) {
        PaintBevel(p, r, bvLowered, 1);
    }
    paintAlignedText(p, *Font(), r, m_caption, m_alignment, tlTop, false, Enabled(), m_autoSize);
}

// ---- TButton, TBitBtn --------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new PlainWidget(this);
    w->setFocusPolicy(Qt::StrongFocus);
    Attach(w, w);
    SetTabStop(true);
    m_width = 75;
    m_height = 25;
}

void TButton::Click() {
    if (m_modalResult != mrNone)
        if (TForm* f = ParentForm()) f->SetModalResult(m_modalResult);
    TControl::Click();
}

void TButton::PaintWidget(QPainter& p) {
    QRect r(0, 0, m_width, m_height);
    p.fillRect(r, qc(Color()));
    bool down = m_pressedLook;
    if (Focused() || m_default) {
        p.setPen(qc(cl3DDkShadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    paintButtonFrame(p, r, down);
    PaintFace(p, r.adjusted(2, 2, -2, -2), down);
    // The dotted frame of the focus shows once the keyboard moved the focus
    // in this window, not after a mere click.
    const QWidget* w = Widget();
    if (Focused() && w && w->window()->testAttribute(Qt::WA_KeyboardFocusChange) && m_width > 8 &&
        m_height > 8) {
        TCanvas c(&p);
        c.DrawFocusRect(Rect(4, 4, m_width - 4, m_height - 4));
    }
}

void TButton::PaintFace(QPainter& p, const QRect& face, bool down) {
    PaintGlyphAndCaption(p, face, nullptr, 1, Enabled(), blGlyphLeft, -1, 4, *Font(), m_caption, down);
}

bool TButton::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_pressedLook = true;
        Invalidate();
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        Invalidate();
        break;
    case QEvent::MouseButtonRelease:
        m_pressedLook = false;
        Invalidate();
        break;
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        bool handled = TWinControl::HandleEvent(e);
        if (!handled &&
            (ke->key() == Qt::Key_Space || ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter)) {
            Click();
            return true;
        }
        return handled;
    }
    default:
        break;
    }
    return TWinControl::HandleEvent(e);
}

TBitBtn::TBitBtn(TComponent* AOwner) : TGlyphButton<TButton>(AOwner) {}

void TBitBtn::SetKind(TBitBtnKind k) {
    m_kind = k;
    static const TModalResult results[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                           mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
    SetModalResult(results[k]);
}

// ---- TSpeedButton ------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGlyphButton<TControl>(AOwner) {
    auto* w = new PlainWidget(this);
    w->setFocusPolicy(Qt::NoFocus);
    w->setAttribute(Qt::WA_Hover, true);
    Attach(w, w);
    SetParentColor(true);
    m_width = 23;
    m_height = 22;
}

void TSpeedButton::SetDown(bool d) {
    if (m_groupIndex == 0) d = false;
    if (d == m_down) return;
    if (!d && !m_allowAllUp) {
        // The last button of a group that must keep one down stays down.
        bool otherDown = false;
        if (Parent())
            for (int i = 0; i < Parent()->ControlCount(); ++i) {
                auto* sb = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                if (sb && sb != this && sb->m_groupIndex == m_groupIndex && sb->m_down) otherDown = true;
            }
        if (!otherDown) return;
    }
    m_down = d;
    if (d && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* sb = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            if (sb && sb != this && sb->m_groupIndex == m_groupIndex && sb->m_down) {
                sb->m_down = false;
                sb->Invalidate();
            }
        }
    Invalidate();
}

void TSpeedButton::Click() {
    if (m_groupIndex != 0) {
        if (!m_down)
            SetDown(true);
        else if (m_allowAllUp)
            SetDown(false);
    }
    TControl::Click();
}

bool TSpeedButton::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_pressed = true;
        Invalidate();
        break;
    case QEvent::MouseButtonRelease:
        m_pressed = false;
        Invalidate();
        break;
    case QEvent::HoverEnter:
        m_hot = true;
        Invalidate();
        break;
    case QEvent::HoverLeave:
        m_hot = false;
        m_pressed = false;
        Invalidate();
        break;
    default:
        break;
    }
    return TControl::HandleEvent(e);
}

void TSpeedButton::PaintWidget(QPainter& p) {
    QRect r(0, 0, m_width, m_height);
    bool down = m_down || m_pressed;
    if (!m_flat || !m_transparent) p.fillRect(r, qc(Color()));
    if (!m_flat) {
        paintButtonFrame(p, r, down);
    } else if (down || (m_hot && Enabled())) {
        QRect fr = r;
        PaintBevel(p, fr, down ? bvLowered : bvRaised, 1);
    }
    PaintGlyphFace(p, r.adjusted(2, 2, -2, -2), down);
}

// ---- TPanel ------------------------------------------------------------------------

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    m_width = 185;
    m_height = 41;
}

void TPanel::SetBevelOuter(TBevelCut b) {
    m_outer = b;
    Realign();
    Invalidate();
}
void TPanel::SetBevelInner(TBevelCut b) {
    m_inner = b;
    Realign();
    Invalidate();
}
void TPanel::SetBevelWidth(int w) {
    m_bevelWidth = w;
    Realign();
    Invalidate();
}
void TPanel::SetBorderWidth(int w) {
    m_borderWidth = w;
    Realign();
    Invalidate();
}

TRect TPanel::AlignRect() const {
    int inset = m_borderWidth;
    if (m_outer != bvNone) inset += m_bevelWidth;
    if (m_inner != bvNone) inset += m_bevelWidth;
    return Rect(inset, inset, m_width - inset, m_height - inset);
}

void TPanel::PaintWidget(QPainter& p) {
    QRect r(0, 0, m_width, m_height);
    p.fillRect(r, qc(Color()));
    PaintBevel(p, r, m_outer, m_bevelWidth);
    r.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    PaintBevel(p, r, m_inner, m_bevelWidth);
    if (!m_caption.isEmpty())
        paintAlignedText(p, *Font(), r, m_caption, m_alignment, tlCenter, false, Enabled(), false);
}

// ---- TCheckBox ---------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QCheckBox>(this);
    Attach(w, w);
    SetTabStop(true);
    m_width = 97;
    m_height = 17;
    QObject::connect(w, &QCheckBox::toggled, [this](bool on) {
        RunHandler([&] {
            if (!m_syncing) SetChecked(on);
        });
    });
}

void TCheckBox::SetChecked(bool c) {
    if (c == m_checked) return;
    m_checked = c;
    if (auto* w = static_cast<QCheckBox*>(Widget())) {
        m_syncing = true;
        w->setChecked(c);
        m_syncing = false;
    }
    Click();
}

void TCheckBox::CaptionChanged() {
    if (auto* w = static_cast<QCheckBox*>(Widget())) w->setText(QString(m_caption).remove(QLatin1Char('&')));
    CaptionFontChanged();
}

void TCheckBox::FontChanged() {
    TWinControl::FontChanged();
    CaptionFontChanged();
}

void TCheckBox::CaptionFontChanged() {
    if (QWidget* w = Widget())
        w->setFont(ToQFont(ScaledTextFont(*Font(), {QString(m_caption).remove(QLatin1Char('&'))})));
}

// ---- TRadioGroup -------------------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QGroupBox>(this);
    Attach(w, w);
    m_width = 185;
    m_height = 105;
    m_items.OnChange = [this] { Rebuild(); };
}

TRadioGroup::~TRadioGroup() {
    m_items.OnChange = nullptr;
}

void TRadioGroup::Rebuild() {
    for (QWidget* b : m_buttons)
        delete b;
    m_buttons.clear();
    auto* box = static_cast<QGroupBox*>(Widget());
    for (int i = 0; i < m_items.Count(); ++i) {
        auto* rb = new QRadioButton(QString(m_items[i]).remove(QLatin1Char('&')), box);
        rb->setAutoExclusive(false);
        rb->setChecked(i == m_itemIndex);
        QObject::connect(rb, &QRadioButton::clicked, [this, i] {
            RunHandler([&] {
                if (m_itemIndex == i) {
                    if (i < static_cast<int>(m_buttons.size()))
                        static_cast<QRadioButton*>(m_buttons[static_cast<size_t>(i)])->setChecked(true);
                    return;
                }
                SetItemIndex(i);
            });
        });
        rb->show();
        m_buttons.push_back(rb);
    }
    if (m_itemIndex >= m_items.Count()) m_itemIndex = -1;
    ApplyFonts();
    Arrange();
}

void TRadioGroup::ApplyFonts() {
    QStringList items;
    for (int i = 0; i < m_items.Count(); ++i)
        items << QString(m_items[i]).remove(QLatin1Char('&'));
    // One font for all items, so that they look alike.
    const QFont itemFont = ToQFont(ScaledTextFont(*Font(), items));
    for (QWidget* b : m_buttons)
        b->setFont(itemFont);
    Widget()->setFont(ToQFont(ScaledTextFont(*Font(), {QString(m_caption).remove(QLatin1Char('&'))})));
}

void TRadioGroup::Arrange() {
    int n = static_cast<int>(m_buttons.size());
    if (n == 0) return;
    int cols = std::max(1, m_columns);
    int rows = (n + cols - 1) / cols;
    int top = textHeight(*Font()) + 2;
    int h = std::max(1, (m_height - top - 4) / rows);
    int w = std::max(1, (m_width - 16) / cols);
    for (int i = 0; i < n; ++i) {
        int col = i / rows, row = i % rows;
        m_buttons[static_cast<size_t>(i)]->setGeometry(8 + col * w, top + row * h, w, h);
    }
}

void TRadioGroup::SetItemIndex(int i) {
    if (i < -1 || i >= m_items.Count()) i = -1;
    if (i == m_itemIndex) return;
    m_itemIndex = i;
    for (int k = 0; k < static_cast<int>(m_buttons.size()); ++k)
        static_cast<QRadioButton*>(m_buttons[static_cast<size_t>(k)])->setChecked(k == i);
    Click();
}

void TRadioGroup::SetColumns(int c) {
    m_columns = std::clamp(c, 1, 16);
    Arrange();
}

void TRadioGroup::CaptionChanged() {
    static_cast<QGroupBox*>(Widget())->setTitle(QString(m_caption).remove(QLatin1Char('&')));
    ApplyFonts();
}

void TRadioGroup::BoundsChanged() {
    TWinControl::BoundsChanged();
    Arrange();
}

void TRadioGroup::FontChanged() {
    TWinControl::FontChanged();
    ApplyFonts();
    Arrange();
}

// ---- TComboBox ---------------------------------------------------------------------

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QComboBox>(this);
    w->setEditable(true);
    w->setInsertPolicy(QComboBox::NoInsert);
    Attach(w, w);
    SetTabStop(true);
    m_width = 145;
    m_height = 21;
    m_items.OnChange = [this] { Rebuild(); };
    QObject::connect(w, qOverload<int>(&QComboBox::activated), [this](int) {
        RunHandler([&] {
            if (m_syncing) return;
            Click();
            if (OnChange) OnChange(this);
        });
    });
    QObject::connect(w, &QComboBox::editTextChanged, [this](const QString&) {
        RunHandler([&] {
            if (!m_syncing && OnChange && static_cast<QComboBox*>(Widget())->lineEdit() &&
                static_cast<QComboBox*>(Widget())->lineEdit()->hasFocus())
                OnChange(this);
        });
    });
}

void TComboBox::Rebuild() {
    auto* w = static_cast<QComboBox*>(Widget());
    m_syncing = true;
    QString text = w->currentText();
    w->clear();
    w->addItems(m_items.List());
    w->setCurrentIndex(-1);
    if (m_style != csDropDownList) w->setEditText(text);
    m_syncing = false;
}

int TComboBox::ItemIndex() const {
    return static_cast<QComboBox*>(Widget())->currentIndex();
}

void TComboBox::SetItemIndex(int i) {
    m_syncing = true;
    static_cast<QComboBox*>(Widget())->setCurrentIndex(i >= 0 && i < m_items.Count() ? i : -1);
    m_syncing = false;
}

QString TComboBox::Text() const {
    return static_cast<QComboBox*>(Widget())->currentText();
}

void TComboBox::SetText(const QString& t) {
    auto* w = static_cast<QComboBox*>(Widget());
    m_syncing = true;
    int i = m_items.List().indexOf(t);
    if (m_style == csDropDownList)
        w->setCurrentIndex(i);
    else {
        w->setCurrentIndex(i);
        w->setEditText(t);
    }
    m_syncing = false;
}

void TComboBox::SetStyle(TComboBoxStyle s) {
    m_style = s;
    auto* w = static_cast<QComboBox*>(Widget());
    m_syncing = true;
    w->setEditable(s == csDropDown || s == csSimple);
    m_syncing = false;
}

void TComboBox::SetDropDownCount(int n) {
    m_dropDownCount = n;
    static_cast<QComboBox*>(Widget())->setMaxVisibleItems(std::max(1, n));
}

// ---- TTrackBar ---------------------------------------------------------------------

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QSlider>(this, Qt::Horizontal);
    w->setTickPosition(QSlider::TicksBelow);
    Attach(w, w);
    SetTabStop(true);
    m_width = 150;
    m_height = 45;
    Sync();
    QObject::connect(w, &QSlider::valueChanged, [this](int v) {
        RunHandler([&] {
            if (!m_syncing) SetPosition(v);
        });
    });
}

void TTrackBar::Sync() {
    auto* w = static_cast<QSlider*>(Widget());
    m_syncing = true;
    w->setRange(m_min, m_max);
    w->setValue(m_position);
    w->setTickInterval(m_frequency);
    w->setOrientation(m_orientation == trHorizontal ? Qt::Horizontal : Qt::Vertical);
    m_syncing = false;
}

void TTrackBar::SetMin(int v) {
    m_min = v;
    if (m_max < m_min) m_max = m_min;
    Sync();
    SetPosition(m_position);
}

void TTrackBar::SetMax(int v) {
    m_max = v;
    if (m_min > m_max) m_min = m_max;
    Sync();
    SetPosition(m_position);
}

void TTrackBar::SetPosition(int v) {
    v = std::clamp(v, m_min, m_max);
    if (v == m_position) return;
    m_position = v;
    Sync();
    if (OnChange) OnChange(this);
}

void TTrackBar::SetFrequency(int f) {
    m_frequency = std::max(1, f);
    Sync();
}

void TTrackBar::SetOrientation(TTrackBarOrientation o) {
    m_orientation = o;
    Sync();
}

// ---- TMemo -------------------------------------------------------------------------

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QPlainTextEdit>(this);
    Attach(w, w);
    SetTabStop(true);
    SetColor(clWindow);
    m_width = 185;
    m_height = 89;
    m_lines.OnChange = [this] {
        Push();
        if (OnChange && !m_syncing) OnChange(this);
    };
    QObject::connect(w, &QPlainTextEdit::textChanged, [this] {
        RunHandler([&] {
            if (m_syncing) return;
            m_syncing = true;
            QString t = static_cast<QPlainTextEdit*>(Widget())->toPlainText();
            m_lines.SetText(t.isEmpty() ? t : t + QLatin1Char('\n'));
            m_syncing = false;
            if (OnChange) OnChange(this);
        });
    });
}

void TMemo::Push() {
    if (m_syncing) return;
    m_syncing = true;
    static_cast<QPlainTextEdit*>(Widget())->setPlainText(m_lines.List().join(QLatin1Char('\n')));
    m_syncing = false;
}

void TMemo::SetReadOnly(bool r) {
    m_readOnly = r;
    static_cast<QPlainTextEdit*>(Widget())->setReadOnly(r);
}

void TMemo::SetWordWrap(bool w) {
    m_wordWrap = w;
    static_cast<QPlainTextEdit*>(Widget())->setLineWrapMode(w ? QPlainTextEdit::WidgetWidth
                                                              : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle s) {
    m_scrollBars = s;
    auto* w = static_cast<QPlainTextEdit*>(Widget());
    w->setHorizontalScrollBarPolicy(s == ssHorizontal || s == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                     : Qt::ScrollBarAlwaysOff);
    w->setVerticalScrollBarPolicy(s == ssVertical || s == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
}

void TMemo::ColorChanged() {
    TWinControl::ColorChanged();
    QPalette pal = Widget()->palette();
    pal.setColor(QPalette::Base, qc(Color()));
    Widget()->setPalette(pal);
}

// ---- TEdit -------------------------------------------------------------------------

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QLineEdit>(this);
    Attach(w, w);
    SetTabStop(true);
    SetColor(clWindow);
    m_width = 121;
    m_height = 21;
    QObject::connect(w, &QLineEdit::textChanged, [this](const QString&) {
        RunHandler([&] {
            if (OnChange) OnChange(this);
        });
    });
}

QString TEdit::Text() const {
    return static_cast<QLineEdit*>(Widget())->text();
}
void TEdit::SetText(const QString& t) {
    static_cast<QLineEdit*>(Widget())->setText(t);
}

void TEdit::SetMaxLength(int n) {
    m_maxLength = n;
    static_cast<QLineEdit*>(Widget())->setMaxLength(n > 0 ? n : 32767);
}

void TEdit::SetReadOnly(bool r) {
    m_readOnly = r;
    static_cast<QLineEdit*>(Widget())->setReadOnly(r);
}

void TEdit::ColorChanged() {
    TWinControl::ColorChanged();
    QPalette pal = Widget()->palette();
    pal.setColor(QPalette::Base, qc(Color()));
    Widget()->setPalette(pal);
}
