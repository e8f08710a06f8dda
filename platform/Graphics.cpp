#include "platform/Graphics.h"

#include "platform/Runtime.h"

#include <QHash>

#include <algorithm>

// ---- records ---------------------------------------------------------------

void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}

void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) {
        result = TRect{};
        return false;
    }
    result = r;
    return true;
}

TRect UnionRect(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

// ---- pen, brush, font ------------------------------------------------------

void TPen::Changed() {
    if (OnChange) OnChange();
}

void TPen::SetColor(TColor c) {
    if (c == m_color) return;
    m_color = c;
    Changed();
}

void TPen::SetWidth(int w) {
    w = std::max(1, w);
    if (w == m_width) return;
    m_width = w;
    Changed();
}

void TPen::SetStyle(TPenStyle s) {
    if (s == m_style) return;
    m_style = s;
    Changed();
}

void TPen::SetMode(TPenMode m) {
    if (m == m_mode) return;
    m_mode = m;
    Changed();
}

void TPen::Assign(const TPen& other) {
    if (m_color == other.m_color && m_width == other.m_width && m_style == other.m_style &&
        m_mode == other.m_mode)
        return;
    m_color = other.m_color;
    m_width = other.m_width;
    m_style = other.m_style;
    m_mode = other.m_mode;
    Changed();
}

void TBrush::Changed() {
    if (OnChange) OnChange();
}

void TBrush::SetColor(TColor c) {
    const TBrushStyle style = m_style == bsClear ? bsSolid : m_style;
    if (c == m_color && style == m_style) return;
    m_color = c;
    m_style = style;
    Changed();
}

void TBrush::SetStyle(TBrushStyle s) {
    if (s == m_style) return;
    m_style = s;
    Changed();
}

void TBrush::Assign(const TBrush& other) {
    if (m_color == other.m_color && m_style == other.m_style) return;
    m_color = other.m_color;
    m_style = other.m_style;
    Changed();
}

TFont::TFont() = default;

TFont::TFont(const TFont& other)
    : m_name(other.m_name), m_height(other.m_height), m_color(other.m_color), m_style(other.m_style),
      m_charset(other.m_charset), m_pitch(other.m_pitch), m_orientation(other.m_orientation),
      m_stretch(other.m_stretch), m_pixelsPerInch(other.m_pixelsPerInch),
      m_designHeight(other.m_designHeight), m_scale(other.m_scale),
      m_measureKey(other.m_measureKey) {}

TFont& TFont::operator=(const TFont& other) {
    if (this != &other) {
        m_pixelsPerInch = other.m_pixelsPerInch;
        Assign(other);
    }
    return *this;
}

void TFont::Changed() {
    m_measureKey = TFontMeasureKey{};
    if (OnChange) OnChange();
}

TFontMeasureKey TFont::MeasureKey() const {
    if (m_measureKey.Face == 0) {
        // Faces by name, numbered in the order they are first met.
        static QHash<QString, uint32_t> faces;
        auto face = faces.constFind(m_name);
        if (face == faces.constEnd()) face = faces.insert(m_name, static_cast<uint32_t>(faces.size()) + 1);
        m_measureKey.Face = *face;
        m_measureKey.Height = m_height;
        m_measureKey.Look = static_cast<uint32_t>(m_stretch) << 8 | (m_style & (fsBold | fsItalic)) << 2 |
                            static_cast<uint32_t>(m_pitch);
    }
    return m_measureKey;
}

void TFont::SetName(const QString& name) {
    if (name.isEmpty() || name == m_name) return;
    m_name = name;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(m_height, 72, m_pixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, m_pixelsPerInch, 72));
}

void TFont::SetHeight(int pixels) {
    if (pixels == m_height) return;
    m_height = pixels;
    m_designHeight = 0;
    m_scale = {};
    Changed();
}

void TFont::ScaleBy(int M, int D) {
    if (D == 0) return;
    if (m_designHeight == 0) {
        m_designHeight = m_height;
        m_scale = {};
    }
    m_scale.By(M, D);
    const int h = ScaleRounded(m_height, M, D);
    if (h == m_height) return;
    m_height = h;
    Changed();
}

void TFont::SetColor(TColor c) {
    if (c == m_color) return;
    m_color = c;
    Changed();
}

void TFont::SetStyle(TFontStyles s) {
    s &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (s == m_style) return;
    m_style = s;
    Changed();
}

void TFont::SetCharset(TFontCharset c) {
    if (c == m_charset) return;
    m_charset = c;
    Changed();
}

void TFont::SetPitch(TFontPitch p) {
    if (p == m_pitch) return;
    m_pitch = p;
    Changed();
}

void TFont::SetOrientation(int tenths) {
    if (tenths == m_orientation) return;
    m_orientation = tenths;
    Changed();
}

void TFont::SetStretch(int percent) {
    percent = std::clamp(percent, 1, 4000);
    if (percent == m_stretch) return;
    m_stretch = percent;
    Changed();
}

void TFont::SetPixelsPerInch(int ppi) {
    if (ppi > 0) m_pixelsPerInch = ppi;
}

void TFont::Assign(const TFont& other) {
    if (this == &other) return;
    int height = other.m_height;
    const bool sameDevice = other.m_pixelsPerInch == m_pixelsPerInch;
    if (!sameDevice) height = -MulDiv(other.Size(), m_pixelsPerInch, 72);
    // The design belongs to the screen's pixels.
    m_designHeight = sameDevice ? other.m_designHeight : 0;
    m_scale = sameDevice ? other.m_scale : TScaleRatio{};
    if (SameAs(other) && height == m_height) return;
    m_name = other.m_name;
    m_height = height;
    m_color = other.m_color;
    m_style = other.m_style;
    m_charset = other.m_charset;
    m_pitch = other.m_pitch;
    m_orientation = other.m_orientation;
    m_stretch = other.m_stretch;
    Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return m_name == other.m_name && m_height == other.m_height && m_color == other.m_color &&
           m_style == other.m_style && m_charset == other.m_charset && m_pitch == other.m_pitch &&
           m_orientation == other.m_orientation && m_stretch == other.m_stretch;
}
