// The metafile picture: its header, its bytes, and its drawing through the
// SVG document its records convert into.
#include "platform/CanvasState.h"
#include "platform/LittleEndian.h"
#include "platform/MetafileCache.h"
#include "platform/MetafileConvert.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"

#include <QPainter>

#include <cstdlib>

using namespace CanvasRules;

namespace {

// Placeable-metafile coordinates are signed.
int16_t ReadLeInt16(const QByteArray& d, qsizetype at) {
    return static_cast<int16_t>(ReadLe16(d, at));
}

constexpr int kHundredthMMPerInch = 2540;
constexpr int kScreenPPI = 96;
constexpr qint64 kMaxPixels = 40'000'000;

void DrawFrame(TCanvas& canvas, const TRect& r) {
    const TPen pen = *canvas.Pen();
    const TBrush brush = *canvas.Brush();
    canvas.Pen()->SetColor(clGray);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Pen()->SetMode(pmCopy);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Rectangle(r);
    canvas.SetPen(pen);
    canvas.SetBrush(brush);
}

} // namespace

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::SetEnhanced(bool e) {
    if (e == m_enhanced) return;
    m_enhanced = e;
    m_rendering.reset();
    m_converted = false;
}

int TMetafile::MMWidth() const {
    return MulDiv(m_width, kHundredthMMPerInch, kScreenPPI);
}
int TMetafile::MMHeight() const {
    return MulDiv(m_height, kHundredthMMPerInch, kScreenPPI);
}

void TMetafile::SetMMWidth(int v) {
    m_width = MulDiv(v, kScreenPPI, kHundredthMMPerInch);
    Changed();
}

void TMetafile::SetMMHeight(int v) {
    m_height = MulDiv(v, kScreenPPI, kHundredthMMPerInch);
    Changed();
}

void TMetafile::SetWidth(int w) {
    m_width = std::max(0, w);
    Changed();
}

void TMetafile::SetHeight(int h) {
    m_height = std::max(0, h);
    Changed();
}

void TMetafile::SizeFromPlaceableHeader() {
    // Units per inch left at 0 give no size: the picture waits for them.
    const int left = ReadLeInt16(m_data, 6), top = ReadLeInt16(m_data, 8);
    const int right = ReadLeInt16(m_data, 10), bottom = ReadLeInt16(m_data, 12);
    m_width = m_inch > 0 ? MulDiv(MulDiv(std::abs(right - left), kHundredthMMPerInch, m_inch), kScreenPPI,
                                  kHundredthMMPerInch)
                         : 0;
    m_height = m_inch > 0 ? MulDiv(MulDiv(std::abs(bottom - top), kHundredthMMPerInch, m_inch), kScreenPPI,
                                   kHundredthMMPerInch)
                          : 0;
}

void TMetafile::SetInch(int v) {
    if (v == m_inch) return;
    m_inch = v;
    if (m_enhanced || m_data.size() < 22 || ReadLe32(m_data, 0) != 0x9AC6CDD7u) return;
    // The header says what the bytes are drawn and saved with.
    SetPlaceableInch(m_data, v);
    SizeFromPlaceableHeader();
    m_rendering.reset();
    m_converted = false;
    Rendering();
    Changed();
}

bool TMetafile::LoadFromStream(const QByteArray& data) {
    if (data.size() >= 22 && ReadLe32(data, 0) == 0x9AC6CDD7u) {
        m_data = data;
        m_enhanced = false;
        m_inch = ReadLe16(data, 14);
        SizeFromPlaceableHeader();
        m_rendering.reset();
        m_converted = false;
        Rendering(); // converts meanwhile, on a thread of its own
        Changed();
        return true;
    }
    if (data.size() >= 88 && ReadLe32(data, 0) == 1 && ReadLe32(data, 40) == 0x464D4520u) {
        // The frame is in 0.01 mm.
        const auto frame = [&](int i) { return static_cast<int32_t>(ReadLe32(data, 24 + 4 * i)); };
        const qint64 mmw = static_cast<qint64>(frame(2)) - frame(0),
                     mmh = static_cast<qint64>(frame(3)) - frame(1);
        if (mmw < 0 || mmh < 0 || mmw > 10000000 || mmh > 10000000) return false;
        m_data = data;
        m_enhanced = true;
        m_inch = 0;
        m_width = MulDiv(static_cast<int>(mmw), kScreenPPI, kHundredthMMPerInch);
        m_height = MulDiv(static_cast<int>(mmh), kScreenPPI, kHundredthMMPerInch);
        m_rendering.reset();
        m_converted = false;
        Rendering(); // converts meanwhile, on a thread of its own
        Changed();
        return true;
    }
    return false;
}

TMetafileRendering* TMetafile::Rendering() const {
    // One conversion per distinct picture, shared by all that show it.
    if (!m_converted) {
        m_converted = true;
        if (!m_data.isEmpty()) m_rendering = TMetafileRendering::Of(m_data, m_enhanced, m_width, m_height);
    }
    return m_rendering.get();
}

bool TMetafile::CheckRecords() const {
    return m_enhanced ? CheckEnhancedMetafile(m_data) : CheckWindowsMetafile(m_data);
}

QString TMetafile::MimeType(bool enhanced) {
    return enhanced ? QStringLiteral("image/x-emf") : QStringLiteral("image/x-wmf");
}

bool TMetafile::HasPicture() const {
    TMetafileRendering* r = Rendering();
    return r && r->HasPicture();
}

void TMetafile::Draw(TCanvas& canvas, const TRect& r) const {
    if (!DrawPicture(canvas, r)) DrawFrame(canvas, r);
}

bool TMetafile::DrawPicture(TCanvas& canvas, const TRect& r) const {
    TMetafileRendering* pic = Rendering();
    const QRectF target = QRectF(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top).normalized();
    if (!pic) return false;
    if (target.isEmpty()) return true;
    {
        PaintScope p(canvas.Painter());
        if (!p) return true;
        if (!pic->Draw(*p.operator->(), target)) return false;
    }
    if (canvas.OnChange) canvas.OnChange();
    return true;
}

QImage TMetafile::ToImage() const {
    if (Empty() || m_width <= 0 || m_height <= 0 || static_cast<qint64>(m_width) * m_height > kMaxPixels)
        return QImage();
    QImage img(m_width, m_height, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c(&img);
    Draw(c, Bounds(0, 0, m_width, m_height));
    c.Release();
    return img;
}

std::unique_ptr<TGraphic> TMetafile::Clone() const {
    return CloneByAssign(*this);
}

bool TMetafile::Assign(const TGraphic& source) {
    const auto* m = dynamic_cast<const TMetafile*>(&source);
    if (!m) return false;
    if (m != this) {
        m_data = m->m_data;
        m_enhanced = m->m_enhanced;
        m_width = m->m_width;
        m_height = m->m_height;
        m_inch = m->m_inch;
        // The same bytes draw the same picture: the conversion is shared.
        m_rendering = m->m_rendering;
        m_converted = m->m_converted;
        SetTransparent(m->Transparent());
    }
    Changed();
    return true;
}
