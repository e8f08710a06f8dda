// The recording canvas: drawing calls become Windows metafile records, or
// enhanced ones, with the pens, brushes and fonts they need.
#include "platform/MetafileCanvas.h"

#include "platform/CanvasState.h"
#include "platform/CodePage.h"
#include "platform/LittleEndian.h"
#include "platform/MetafileConvert.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

using namespace CodePage;

namespace {

enum TModeKind { mkBkMode, mkBkColor, mkTextColor, mkRop2, mkCount };
enum TFigure { fgRectangle, fgEllipse };
constexpr int kTransparent = 1, kOpaque = 2;
constexpr unsigned kEtoOpaque = 2, kEtoClipped = 4;
constexpr int kScreenPPI = 96;
// Pictures drawn from records (metafiles) are kept at twice their size, up
// to this many pixels.
constexpr qint64 kMaxRecordedPixels = 4'000'000;

int16_t Coord16(int v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

uint32_t ColorRef(TColor c) {
    return static_cast<uint32_t>(ColorToRGB(c)) & 0xFFFFFFu;
}

struct TLogFont {
    int Height = 0;
    int Escapement = 0;
    int Weight = 400;
    bool Italic = false, Underline = false, StrikeOut = false;
    uint8_t Charset = DEFAULT_CHARSET;
    uint8_t PitchAndFamily = 0;
    QString FaceName;
    bool operator==(const TLogFont&) const = default;
};

// The rows of a picture as a device-independent bitmap of 24 bits, bottom
// row first, after its header. Transparent pixels show white.
QByteArray Dib(const QImage& Source) {
    QImage img(Source.size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.drawImage(0, 0, Source);
    }
    const int w = img.width(), h = img.height();
    const int stride = (w * 3 + 3) & ~3;
    QByteArray out;
    out.reserve(40 + stride * h);
    AppendLe32(out, 40);
    AppendLe32(out, static_cast<uint32_t>(w));
    AppendLe32(out, static_cast<uint32_t>(h));
    AppendLe16(out, 1);
    AppendLe16(out, 24);
    AppendLe32(out, 0); // BI_RGB
    AppendLe32(out, static_cast<uint32_t>(stride * h));
    AppendLe32(out, 3780); // 96 per inch in pixels per metre
    AppendLe32(out, 3780);
    AppendLe32(out, 0);
    AppendLe32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
        }
        out.append(stride - w * 3, '\0');
    }
    return out;
}

bool AllWhite(const QImage& Image) {
    for (int y = 0; y < Image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(Image.constScanLine(y));
        if (!std::all_of(row, row + Image.width(), [](QRgb p) { return p == 0xFFFFFFFFu; })) return false;
    }
    return true;
}

void AppendRect16(QByteArray& p, const TRect& r) {
    for (int v : {r.Left, r.Top, r.Right, r.Bottom})
        AppendLe16(p, static_cast<uint16_t>(Coord16(v)));
}

// The writers of the two formats. Object slots are chosen by the recorder:
// the lowest free one, as Windows metafiles number their objects.
class TMetaWriter {
public:
    virtual ~TMetaWriter() = default;
    virtual void CreatePen(int Slot, int Style, int Width, uint32_t Color) = 0;
    virtual void CreateBrush(int Slot, int Style, uint32_t Color, int Hatch) = 0;
    virtual void CreateFont(int Slot, const TLogFont& F) = 0;
    virtual void Select(int Slot) = 0;
    virtual void Delete(int Slot) = 0;
    virtual void Mode(TModeKind Kind, uint32_t Value) = 0;
    virtual void SaveDC() = 0;
    virtual void RestoreDC() = 0;
    virtual void IntersectClip(const TRect& R) = 0;
    virtual void Poly(const std::vector<TPoint>& Points, bool Closed) = 0;
    virtual void Figure(TFigure Kind, const TRect& R) = 0;
    virtual void RoundRect(const TRect& R, int W, int H) = 0;
    virtual void Arc(TCanvasRecorder::TArcKind Kind, const TRect& R, TPoint Start, TPoint End) = 0;
    virtual void Text(TPoint At, unsigned Options, const TRect& R, const QString& Text, const TLogFont& Font,
                      const std::vector<int>& Dx) = 0;
    virtual void StretchDib(const TRect& Dest, const QImage& Image, uint32_t Rop) = 0;
    virtual void Pixel(TPoint At, uint32_t Color) = 0;
    virtual QByteArray Finish(int Slots) = 0;
};

// ---- Windows metafile ------------------------------------------------------

class TWmfWriter : public TMetaWriter {
public:
    TWmfWriter(int W, int H) : m_w(W), m_h(H) {
        Rec16(0x020B, {0, 0});                   // window origin
        Rec16(0x020C, {Coord16(H), Coord16(W)}); // window extent
    }
    void CreatePen(int, int Style, int Width, uint32_t Color) override {
        QByteArray p;
        AppendLe16(p, static_cast<uint16_t>(Style));
        AppendLe16(p, static_cast<uint16_t>(Width));
        AppendLe16(p, 0);
        AppendLe32(p, Color);
        Rec(0x02FA, p);
    }
    void CreateBrush(int, int Style, uint32_t Color, int Hatch) override {
        QByteArray p;
        AppendLe16(p, static_cast<uint16_t>(Style));
        AppendLe32(p, Color);
        AppendLe16(p, static_cast<uint16_t>(Hatch));
        Rec(0x02FC, p);
    }
    void CreateFont(int, const TLogFont& F) override {
        QByteArray p;
        for (int v : {F.Height, 0, F.Escapement, F.Escapement, F.Weight})
            AppendLe16(p, static_cast<uint16_t>(Coord16(v)));
        for (int v : {int(F.Italic), int(F.Underline), int(F.StrikeOut), int(F.Charset), 0, 0, 0,
                      int(F.PitchAndFamily)})
            p.append(static_cast<char>(v));
        std::string face = ToCp1252(F.FaceName).substr(0, 31);
        face.push_back('\0');
        if (face.size() % 2) face.push_back('\0');
        p.append(face.data(), static_cast<qsizetype>(face.size()));
        Rec(0x02FB, p);
    }
    void Select(int Slot) override { Rec16(0x012D, {static_cast<int16_t>(Slot)}); }
    void Delete(int Slot) override { Rec16(0x01F0, {static_cast<int16_t>(Slot)}); }
    void Mode(TModeKind Kind, uint32_t Value) override {
        switch (Kind) {
        case mkBkMode:
            Rec16(0x0102, {static_cast<int16_t>(Value)});
            break;
        case mkRop2:
            Rec16(0x0104, {static_cast<int16_t>(Value)});
            break;
        case mkBkColor:
        case mkTextColor:
            Rec16(Kind == mkBkColor ? 0x0201 : 0x0209,
                  {static_cast<int16_t>(Value & 0xFFFF), static_cast<int16_t>(Value >> 16)});
            break;
        case mkCount:
            break;
        }
    }
    void SaveDC() override { Rec16(0x001E, {}); }
    void RestoreDC() override { Rec16(0x0127, {-1}); }
    void IntersectClip(const TRect& R) override { Rec16(0x0416, Reversed(R)); }
    void Poly(const std::vector<TPoint>& Points, bool Closed) override {
        QByteArray p;
        const size_t n = std::min<size_t>(Points.size(), 32767);
        AppendLe16(p, static_cast<uint16_t>(n));
        for (size_t i = 0; i < n; ++i) {
            AppendLe16(p, static_cast<uint16_t>(Coord16(Points[i].x)));
            AppendLe16(p, static_cast<uint16_t>(Coord16(Points[i].y)));
        }
        Rec(Closed ? 0x0324 : 0x0325, p);
    }
    void Figure(TFigure Kind, const TRect& R) override {
        Rec16(Kind == fgRectangle ? 0x041B : 0x0418, Reversed(R));
    }
    void RoundRect(const TRect& R, int W, int H) override {
        std::vector<int16_t> p{Coord16(H), Coord16(W)};
        for (int16_t v : Reversed(R))
            p.push_back(v);
        Rec16(0x061C, p);
    }
    void Arc(TCanvasRecorder::TArcKind Kind, const TRect& R, TPoint Start, TPoint End) override {
        std::vector<int16_t> p{Coord16(End.y), Coord16(End.x), Coord16(Start.y), Coord16(Start.x)};
        for (int16_t v : Reversed(R))
            p.push_back(v);
        Rec16(Kind == TCanvasRecorder::akArc ? 0x0817 : Kind == TCanvasRecorder::akPie ? 0x081A : 0x0830, p);
    }
    void Text(TPoint At, unsigned Options, const TRect& R, const QString& Text, const TLogFont& Font,
              const std::vector<int>& Dx) override {
        const int cp = Font.Charset == SYMBOL_CHARSET ? 0 : CharsetToCodePage(Font.Charset);
        std::string bytes = cp > 0 && cp != 1252 && IsKnown(cp) ? FromUnicode(cp, Text) : ToCp1252(Text);
        if (bytes.size() > 32000) bytes.resize(32000);
        QByteArray p;
        AppendLe16(p, static_cast<uint16_t>(Coord16(At.y)));
        AppendLe16(p, static_cast<uint16_t>(Coord16(At.x)));
        AppendLe16(p, static_cast<uint16_t>(bytes.size()));
        AppendLe16(p, static_cast<uint16_t>(Options));
        if (Options & (kEtoOpaque | kEtoClipped)) AppendRect16(p, R);
        p.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        if (bytes.size() % 2) p.append('\0');
        // Widths only where each character took one byte.
        if (bytes.size() == Dx.size())
            for (int v : Dx)
                AppendLe16(p, static_cast<uint16_t>(Coord16(v)));
        Rec(0x0A32, p);
    }
    void StretchDib(const TRect& Dest, const QImage& Image, uint32_t Rop) override {
        QByteArray p;
        AppendLe32(p, Rop);
        AppendLe16(p, 0); // colours are RGB values
        for (int v : {Image.height(), Image.width(), 0, 0, Dest.Height(), Dest.Width(), Dest.Top, Dest.Left})
            AppendLe16(p, static_cast<uint16_t>(Coord16(v)));
        p.append(Dib(Image));
        Rec(0x0F43, p);
    }
    void Pixel(TPoint At, uint32_t Color) override {
        Rec16(0x041F, {static_cast<int16_t>(Color & 0xFFFF), static_cast<int16_t>(Color >> 16), Coord16(At.y),
                       Coord16(At.x)});
    }
    QByteArray Finish(int Slots) override {
        Rec16(0x0000, {});
        // The picture's box in units of 1/96 inch.
        return PlaceableWindowsMetafile(m_w, m_h, kScreenPPI, Slots, m_maxRecord, m_records);
    }

private:
    static std::vector<int16_t> Reversed(const TRect& R) {
        return {Coord16(R.Bottom), Coord16(R.Right), Coord16(R.Top), Coord16(R.Left)};
    }
    void Rec16(uint16_t Function, const std::vector<int16_t>& Params) {
        QByteArray p;
        for (int16_t v : Params)
            AppendLe16(p, static_cast<uint16_t>(v));
        Rec(Function, p);
    }
    void Rec(uint16_t Function, const QByteArray& Params) {
        const uint32_t words = 3 + static_cast<uint32_t>(Params.size() / 2);
        m_maxRecord = std::max(m_maxRecord, words);
        AppendLe32(m_records, words);
        AppendLe16(m_records, Function);
        m_records.append(Params);
    }
    int m_w, m_h;
    QByteArray m_records;
    uint32_t m_maxRecord = 3;
};

// ---- enhanced metafile -----------------------------------------------------

class TEmfWriter : public TMetaWriter {
public:
    TEmfWriter(int W, int H) : m_w(W), m_h(H) {}
    void CreatePen(int Slot, int Style, int Width, uint32_t Color) override {
        Rec32(38, {Slot + 1, Style, Width, 0, static_cast<int>(Color)});
    }
    void CreateBrush(int Slot, int Style, uint32_t Color, int Hatch) override {
        Rec32(39, {Slot + 1, Style, static_cast<int>(Color), Hatch});
    }
    void CreateFont(int Slot, const TLogFont& F) override {
        QByteArray p;
        for (int v : {Slot + 1, F.Height, 0, F.Escapement, F.Escapement, F.Weight})
            AppendLe32(p, static_cast<uint32_t>(v));
        for (int v : {int(F.Italic), int(F.Underline), int(F.StrikeOut), int(F.Charset), 0, 0, 0,
                      int(F.PitchAndFamily)})
            p.append(static_cast<char>(v));
        const QString face = F.FaceName.left(31);
        for (int i = 0; i < 32; ++i)
            AppendLe16(p, i < face.size() ? face[i].unicode() : 0);
        Rec(82, p);
    }
    void Select(int Slot) override { Rec32(37, {Slot + 1}); }
    void Delete(int Slot) override { Rec32(40, {Slot + 1}); }
    void Mode(TModeKind Kind, uint32_t Value) override {
        static constexpr uint32_t types[mkCount] = {18, 25, 24, 20};
        if (Kind < mkCount) Rec32(types[Kind], {static_cast<int>(Value)});
    }
    void SaveDC() override { Rec32(33, {}); }
    void RestoreDC() override { Rec32(34, {-1}); }
    void IntersectClip(const TRect& R) override { Rec32(30, {R.Left, R.Top, R.Right, R.Bottom}); }
    void Poly(const std::vector<TPoint>& Points, bool Closed) override {
        QByteArray p;
        AppendBounds(p, Points);
        AppendLe32(p, static_cast<uint32_t>(Points.size()));
        for (const TPoint& pt : Points) {
            AppendLe16(p, static_cast<uint16_t>(Coord16(pt.x)));
            AppendLe16(p, static_cast<uint16_t>(Coord16(pt.y)));
        }
        Rec(Closed ? 86 : 87, p);
    }
    void Figure(TFigure Kind, const TRect& R) override {
        Rec32(Kind == fgRectangle ? 43 : 42, {R.Left, R.Top, R.Right, R.Bottom});
    }
    void RoundRect(const TRect& R, int W, int H) override {
        Rec32(44, {R.Left, R.Top, R.Right, R.Bottom, W, H});
    }
    void Arc(TCanvasRecorder::TArcKind Kind, const TRect& R, TPoint Start, TPoint End) override {
        Rec32(Kind == TCanvasRecorder::akArc     ? 45
              : Kind == TCanvasRecorder::akChord ? 46
                                                 : 47,
              {R.Left, R.Top, R.Right, R.Bottom, Start.x, Start.y, End.x, End.y});
    }
    void Text(TPoint At, unsigned Options, const TRect& R, const QString& Text, const TLogFont&,
              const std::vector<int>& Dx) override {
        const QString t = Text.left(32000);
        const uint32_t stringBytes = (static_cast<uint32_t>(t.size()) * 2 + 3) & ~3u;
        QByteArray p;
        for (int v : {0, 0, -1, -1, 1})
            AppendLe32(p, static_cast<uint32_t>(v)); // no bounds; compatible graphics mode
        const float scale = 1.0f;
        uint32_t bits;
        std::memcpy(&bits, &scale, 4);
        AppendLe32(p, bits);
        AppendLe32(p, bits);
        const uint32_t offString = 76, offDx = offString + stringBytes;
        for (int v : {At.x, At.y, static_cast<int>(t.size()), static_cast<int>(offString),
                      static_cast<int>(Options), R.Left, R.Top, R.Right, R.Bottom, static_cast<int>(offDx)})
            AppendLe32(p, static_cast<uint32_t>(v));
        for (QChar c : t)
            AppendLe16(p, c.unicode());
        p.append(static_cast<qsizetype>(stringBytes) - t.size() * 2, '\0');
        for (qsizetype i = 0; i < t.size(); ++i)
            AppendLe32(p, static_cast<uint32_t>(
                              i < static_cast<qsizetype>(Dx.size()) ? Dx[static_cast<size_t>(i)] : 0));
        Rec(84, p);
    }
    void StretchDib(const TRect& Dest, const QImage& Image, uint32_t Rop) override {
        const QByteArray dib = Dib(Image);
        QByteArray p;
        for (int v : {Dest.Left, Dest.Top, Dest.Right - 1, Dest.Bottom - 1, Dest.Left, Dest.Top, 0, 0,
                      Image.width(), Image.height(), 80, 40, 120, static_cast<int>(dib.size() - 40), 0,
                      static_cast<int>(Rop), Dest.Width(), Dest.Height()})
            AppendLe32(p, static_cast<uint32_t>(v));
        p.append(dib);
        Rec(81, p);
    }
    void Pixel(TPoint At, uint32_t Color) override { Rec32(15, {At.x, At.y, static_cast<int>(Color)}); }
    QByteArray Finish(int Slots) override {
        Rec32(14, {0, 16, 20});
        const int mmW = MulDivRound(m_w), mmH = MulDivRound(m_h);
        QByteArray out;
        for (int v : {1, 108, 0, 0, m_w - 1, m_h - 1, 0, 0, mmW, mmH})
            AppendLe32(out, static_cast<uint32_t>(v));
        AppendLe32(out, 0x464D4520u);
        AppendLe32(out, 0x10000u);
        AppendLe32(out, static_cast<uint32_t>(108 + m_records.size()));
        AppendLe32(out, m_count + 1);
        AppendLe16(out, static_cast<uint16_t>(Slots + 1));
        AppendLe16(out, 0);
        // No description, no palette; the reference device has 96 pixels
        // per inch: 960 pixels are 254 mm.
        for (int v : {0, 0, 0, 960, 960, 254, 254, 0, 0, 0, 254000, 254000})
            AppendLe32(out, static_cast<uint32_t>(v));
        out.append(m_records);
        return out;
    }

private:
    static int MulDivRound(int px) { return static_cast<int>(std::lround(px * 2540.0 / kScreenPPI)); }
    static void AppendBounds(QByteArray& p, const std::vector<TPoint>& Points) {
        TRect b{Points.front().x, Points.front().y, Points.front().x, Points.front().y};
        for (const TPoint& pt : Points) {
            b.Left = std::min(b.Left, pt.x);
            b.Top = std::min(b.Top, pt.y);
            b.Right = std::max(b.Right, pt.x);
            b.Bottom = std::max(b.Bottom, pt.y);
        }
        for (int v : {b.Left, b.Top, b.Right, b.Bottom})
            AppendLe32(p, static_cast<uint32_t>(v));
    }
    void Rec32(uint32_t Type, const std::vector<int>& Params) {
        QByteArray p;
        for (int v : Params)
            AppendLe32(p, static_cast<uint32_t>(v));
        Rec(Type, p);
    }
    void Rec(uint32_t Type, QByteArray Params) {
        while (Params.size() % 4)
            Params.append('\0');
        AppendLe32(m_records, Type);
        AppendLe32(m_records, static_cast<uint32_t>(8 + Params.size()));
        m_records.append(Params);
        ++m_count;
    }
    int m_w, m_h;
    QByteArray m_records;
    uint32_t m_count = 0;
};

int Rop2(TPenMode m) {
    static constexpr int rops[] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};
    return rops[m];
}

} // namespace

// ---- the recorder ----------------------------------------------------------

class TMetafileRecorder : public TCanvasRecorder {
public:
    TMetafileRecorder(bool Enhanced, int W, int H) {
        if (Enhanced)
            m_writer = std::make_unique<TEmfWriter>(W, H);
        else
            m_writer = std::make_unique<TWmfWriter>(W, H);
    }

    void Poly(const TCanvas& C, const std::vector<TPoint>& Points, bool Closed) override {
        if (Points.size() < 2 || (!Closed && C.Pen()->Style() == psClear)) return;
        Prepare(C, true);
        std::vector<TPoint> pts;
        pts.reserve(Points.size());
        for (const TPoint& p : Points)
            pts.push_back(MapPt(p));
        m_writer->Poly(pts, Closed);
    }
    void Rectangle(const TCanvas& C, const TRect& R) override {
        if (R.IsEmpty()) return;
        Prepare(C, true);
        m_writer->Figure(fgRectangle, Map(R));
    }
    void RoundRect(const TCanvas& C, const TRect& R, int W, int H) override {
        if (R.IsEmpty()) return;
        Prepare(C, true);
        m_writer->RoundRect(Map(R), std::abs(W), std::abs(H));
    }
    void Ellipse(const TCanvas& C, const TRect& R) override {
        if (R.IsEmpty()) return;
        Prepare(C, true);
        m_writer->Figure(fgEllipse, Map(R));
    }
    void Arc(const TCanvas& C, TArcKind Kind, const TRect& R, TPoint Start, TPoint End) override {
        if (R.IsEmpty()) return;
        Prepare(C, true);
        m_writer->Arc(Kind, Map(R), MapPt(Start), MapPt(End));
    }
    void FillRect(const TCanvas& C, const TRect& R, bool FrameOnly) override {
        if (R.IsEmpty() || C.Brush()->Style() == bsClear) return;
        // A rectangle without a pen fills one pixel less to the right and
        // below: the box grows by one.
        Prepare(C, false);
        auto fill = [&](const TRect& r) {
            if (!r.IsEmpty()) m_writer->Figure(fgRectangle, Map({r.Left, r.Top, r.Right + 1, r.Bottom + 1}));
        };
        if (!FrameOnly) return fill(R);
        fill({R.Left, R.Top, R.Right, R.Top + 1});
        fill({R.Left, R.Bottom - 1, R.Right, R.Bottom});
        fill({R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1});
        fill({R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1});
    }
    void Pixel(const TCanvas&, int X, int Y, TColor Color) override {
        m_writer->Pixel(MapPt({X, Y}), ColorRef(Color));
    }
    void Text(const TCanvas& C, int X, int Y, const QString& Text, int Width, const TRect* Clip) override {
        (void)Width;
        const TFont& f = *C.Font();
        const bool solid = C.Brush()->Style() == bsSolid;
        UseFont(f);
        SetMode(mkTextColor, ColorRef(f.Color()));
        unsigned options = 0;
        TRect r;
        if (Clip) {
            options = kEtoClipped | (solid ? kEtoOpaque : 0);
            r = Map(*Clip);
            SetMode(mkBkMode, kTransparent);
            if (solid) SetMode(mkBkColor, ColorRef(C.Brush()->Color()));
        } else {
            SetMode(mkBkMode, solid ? kOpaque : kTransparent);
            if (solid) SetMode(mkBkColor, ColorRef(C.Brush()->Color()));
        }
        // The advance of each character, as the canvas measures the text.
        std::vector<int> dx;
        dx.reserve(static_cast<size_t>(Text.size()));
        int before = 0;
        for (qsizetype i = 1; i <= Text.size(); ++i) {
            const int upTo = C.TextWidth(Text.left(i));
            dx.push_back(upTo - before);
            before = upTo;
        }
        // An opaque rectangle is filled even without text.
        if (!Text.isEmpty() || (options & kEtoOpaque))
            m_writer->Text(MapPt({X, Y}), options, r, Text, LogFont(f), dx);
    }
    void Image(const TCanvas& C, const TRect& Dest, const QImage& Image, const TRect& Source) override {
        if (Image.isNull() || Dest.Width() == 0 || Dest.Height() == 0) return;
        const TRect s = Source;
        const QRect src = QRect(std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::abs(s.Width()),
                                std::abs(s.Height()))
                              .intersected(Image.rect());
        if (src.isEmpty()) return;
        const bool flipX = (Dest.Width() < 0) != (s.Width() < 0),
                   flipY = (Dest.Height() < 0) != (s.Height() < 0);
        QImage part = Image.copy(src);
        if (flipX || flipY) part = part.mirrored(flipX, flipY);
        const TRect d{std::min(Dest.Left, Dest.Right), std::min(Dest.Top, Dest.Bottom),
                      std::max(Dest.Left, Dest.Right), std::max(Dest.Top, Dest.Bottom)};
        m_writer->StretchDib(Map(d), part, C.CopyMode());
    }
    void Picture(const TCanvas& C, const TRect& Dest, const TGraphic& Graphic) override {
        // Pictures go as bitmaps: at their own size, or, drawn from records,
        // at twice the size they take here.
        const bool records = dynamic_cast<const TMetafile*>(&Graphic) != nullptr;
        double w = records ? 2.0 * std::abs(Dest.Width()) : Graphic.Width();
        double h = records ? 2.0 * std::abs(Dest.Height()) : Graphic.Height();
        if (w < 1 || h < 1) return;
        if (w * h > kMaxRecordedPixels) {
            const double k = std::sqrt(kMaxRecordedPixels / (w * h));
            w = std::max(1.0, std::floor(w * k));
            h = std::max(1.0, std::floor(h * k));
        }
        QImage img(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
        if (img.isNull()) return;
        img.fill(Qt::white);
        TCanvas c(&img);
        const TRect box = Bounds(0, 0, img.width(), img.height());
        if (!records || !static_cast<const TMetafile&>(Graphic).DrawPicture(c, box)) {
            m_picturesDrawn = m_picturesDrawn && !records;
            Graphic.Draw(c, box); // its frame, for a picture that cannot be rendered
        }
        c.Release();
        if (records) m_picturesBlank = m_picturesBlank || AllWhite(img);
        this->Image(C, Dest, img, Bounds(0, 0, img.width(), img.height()));
    }
    void State(const TCanvas&, bool HasClip, const QRegion& Clip, TPoint Origin) override {
        m_origin = Origin;
        std::optional<TRect> clip;
        if (HasClip) {
            const QRect b = Clip.boundingRect();
            clip = TRect{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
        }
        if (clip == m_clip) return;
        if (m_clip) {
            // Restoring puts back the objects and modes of the save as well.
            m_writer->RestoreDC();
            m_selected = {-1, -1, -1};
            m_modes.fill(-1);
        }
        m_clip = clip;
        if (m_clip) {
            m_writer->SaveDC();
            m_writer->IntersectClip(*m_clip);
        }
    }

    // False once a picture drawn from records could not be rendered.
    bool PicturesDrawn() const { return m_picturesDrawn; }
    // True once a picture drawn from records rendered as nothing here.
    bool PicturesBlank() const { return m_picturesBlank; }

    QByteArray Finish() {
        if (m_clip) m_writer->RestoreDC();
        m_clip.reset();
        for (int i = 0; i < static_cast<int>(m_used.size()); ++i)
            if (m_used[static_cast<size_t>(i)]) m_writer->Delete(i);
        return m_writer->Finish(static_cast<int>(m_used.size()));
    }

private:
    enum { okPen, okBrush, okFont };
    struct TPenKey {
        int Style, Width;
        uint32_t Color;
        bool operator==(const TPenKey&) const = default;
    };
    struct TBrushKey {
        int Style;
        uint32_t Color;
        int Hatch;
        bool operator==(const TBrushKey&) const = default;
    };

    TPoint MapPt(TPoint p) const { return {p.x - m_origin.x, p.y - m_origin.y}; }
    TRect Map(const TRect& r) const {
        return {r.Left - m_origin.x, r.Top - m_origin.y, r.Right - m_origin.x, r.Bottom - m_origin.y};
    }

    static TLogFont LogFont(const TFont& f) {
        TLogFont l;
        l.Height =
            f.PixelsPerInch() == kScreenPPI ? f.Height() : MulDiv(f.Height(), kScreenPPI, f.PixelsPerInch());
        l.Escapement = f.Orientation();
        l.Weight = (f.Style() & fsBold) ? 700 : 400;
        l.Italic = f.Style() & fsItalic;
        l.Underline = f.Style() & fsUnderline;
        l.StrikeOut = f.Style() & fsStrikeOut;
        l.Charset = f.Charset();
        l.PitchAndFamily = f.Pitch() == fpFixed ? 1 : f.Pitch() == fpVariable ? 2 : 0;
        l.FaceName = f.Name();
        return l;
    }

    int Slot() {
        for (size_t i = 0; i < m_used.size(); ++i)
            if (!m_used[i]) {
                m_used[i] = true;
                return static_cast<int>(i);
            }
        m_used.push_back(true);
        return static_cast<int>(m_used.size()) - 1;
    }
    // Selects the object of the key, making it anew when it differs from the
    // one made last of its kind.
    template <typename Key, typename Make>
    void Use(int Kind, const Key& K, std::optional<Key>& Last, Make&& make) {
        int& selected = m_selected[static_cast<size_t>(Kind)];
        int& made = m_made[static_cast<size_t>(Kind)];
        if (Last && *Last == K && made >= 0) {
            if (selected != made) m_writer->Select(made);
            selected = made;
            return;
        }
        const int slot = Slot();
        make(slot);
        m_writer->Select(slot);
        if (made >= 0) {
            m_writer->Delete(made);
            m_used[static_cast<size_t>(made)] = false;
        }
        made = selected = slot;
        Last = K;
    }
    void UsePen(const TPen& p) {
        static constexpr int styles[] = {0, 1, 2, 3, 4, 5, 6};
        const TPenKey k{styles[p.Style()], p.Width(), ColorRef(p.Color())};
        Use(okPen, k, m_pen, [&](int s) { m_writer->CreatePen(s, k.Style, k.Width, k.Color); });
    }
    void UseBrush(const TBrush& b) {
        TBrushKey k{0, ColorRef(b.Color()), 0};
        if (b.Style() == bsClear)
            k = {1, 0, 0};
        else if (b.Style() != bsSolid)
            k = {2, k.Color, b.Style() - bsHorizontal};
        Use(okBrush, k, m_brush, [&](int s) { m_writer->CreateBrush(s, k.Style, k.Color, k.Hatch); });
    }
    void UseFont(const TFont& f) {
        const TLogFont k = LogFont(f);
        Use(okFont, k, m_font, [&](int s) { m_writer->CreateFont(s, k); });
    }
    void SetMode(TModeKind Kind, uint32_t Value) {
        int64_t& cur = m_modes[static_cast<size_t>(Kind)];
        if (cur == static_cast<int64_t>(Value)) return;
        m_writer->Mode(Kind, Value);
        cur = Value;
    }
    // Pen (or none), brush and raster mode of a figure.
    void Prepare(const TCanvas& C, bool WithPen) {
        if (WithPen) {
            UsePen(*C.Pen());
            SetMode(mkRop2, static_cast<uint32_t>(Rop2(C.Pen()->Mode())));
        } else {
            TPen none;
            none.SetStyle(psClear);
            UsePen(none);
            SetMode(mkRop2, 13);
        }
        UseBrush(*C.Brush());
        // Hatched brushes show the background between their lines.
        SetMode(mkBkMode, kTransparent);
    }

    std::unique_ptr<TMetaWriter> m_writer;
    TPoint m_origin;
    std::optional<TRect> m_clip;
    std::vector<bool> m_used;
    std::array<int, 3> m_selected{-1, -1, -1};
    std::array<int, 3> m_made{-1, -1, -1};
    std::array<int64_t, mkCount> m_modes{-1, -1, -1, -1};
    std::optional<TPenKey> m_pen;
    std::optional<TBrushKey> m_brush;
    std::optional<TLogFont> m_font;
    bool m_picturesDrawn = true;
    bool m_picturesBlank = false;
};

TMetafileCanvas::TMetafileCanvas(TMetafile* Metafile)
    : m_metafile(Metafile),
      m_recorder(std::make_unique<TMetafileRecorder>(Metafile && Metafile->Enhanced(),
                                                     Metafile ? Metafile->Width() : 0,
                                                     Metafile ? Metafile->Height() : 0)) {
    CanvasAccess::SetRecorder(*this, m_recorder.get());
}

TMetafileCanvas::~TMetafileCanvas() {
    Finish();
}

void TMetafileCanvas::Finish() {
    if (!m_recorder) return;
    CanvasAccess::SetRecorder(*this, nullptr);
    m_picturesDrawn = m_recorder->PicturesDrawn();
    m_picturesBlank = m_recorder->PicturesBlank();
    const QByteArray data = m_recorder->Finish();
    m_recorder.reset();
    if (m_metafile) m_metafile->LoadFromStream(data);
}

bool TMetafileCanvas::PicturesDrawn() const {
    return m_recorder ? m_recorder->PicturesDrawn() : m_picturesDrawn;
}

bool TMetafileCanvas::PicturesBlank() const {
    return m_recorder ? m_recorder->PicturesBlank() : m_picturesBlank;
}
