// Enhanced metafile records translated into Windows metafile records.
//
// Coordinates stay in the enhanced metafile's logical units: the Windows
// metafile's window is the picture's frame expressed in them, composed of
// the frame (in reference-device pixels) and the enhanced metafile's own
// mapping, and written again whenever that mapping changes. Objects keep
// their order; the older format numbers them by the lowest free slot.
#include "platform/MetafileTranslate.h"

#include "platform/CodePage.h"
#include "platform/LittleEndian.h"
#include "platform/MetafileConvert.h"
#include "platform/Runtime.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

namespace {

enum : uint32_t {
    emrHeader = 1,
    emrPolyBezier = 2,
    emrPolygon = 3,
    emrPolyline = 4,
    emrPolyBezierTo = 5,
    emrPolylineTo = 6,
    emrPolyPolyline = 7,
    emrPolyPolygon = 8,
    emrSetWindowExtEx = 9,
    emrSetWindowOrgEx = 10,
    emrSetViewportExtEx = 11,
    emrSetViewportOrgEx = 12,
    emrSetBrushOrgEx = 13,
    emrEOF = 14,
    emrSetPixelV = 15,
    emrSetMapperFlags = 16,
    emrSetMapMode = 17,
    emrSetBkMode = 18,
    emrSetPolyFillMode = 19,
    emrSetRop2 = 20,
    emrSetStretchBltMode = 21,
    emrSetTextAlign = 22,
    emrSetColorAdjustment = 23,
    emrSetTextColor = 24,
    emrSetBkColor = 25,
    emrOffsetClipRgn = 26,
    emrMoveToEx = 27,
    emrSetMetaRgn = 28,
    emrExcludeClipRect = 29,
    emrIntersectClipRect = 30,
    emrScaleViewportExtEx = 31,
    emrScaleWindowExtEx = 32,
    emrSaveDC = 33,
    emrRestoreDC = 34,
    emrSetWorldTransform = 35,
    emrModifyWorldTransform = 36,
    emrSelectObject = 37,
    emrCreatePen = 38,
    emrCreateBrushIndirect = 39,
    emrDeleteObject = 40,
    emrEllipse = 42,
    emrRectangle = 43,
    emrRoundRect = 44,
    emrArc = 45,
    emrChord = 46,
    emrPie = 47,
    emrSelectPalette = 48,
    emrCreatePalette = 49,
    emrSetPaletteEntries = 50,
    emrResizePalette = 51,
    emrRealizePalette = 52,
    emrLineTo = 54,
    emrSetArcDirection = 57,
    emrSetMiterLimit = 58,
    emrGdiComment = 70,
    emrExtSelectClipRgn = 75,
    emrBitBlt = 76,
    emrStretchBlt = 77,
    emrSetDIBitsToDevice = 80,
    emrStretchDIBits = 81,
    emrExtCreateFontIndirectW = 82,
    emrExtTextOutA = 83,
    emrExtTextOutW = 84,
    emrPolyBezier16 = 85,
    emrPolygon16 = 86,
    emrPolyline16 = 87,
    emrPolyBezierTo16 = 88,
    emrPolylineTo16 = 89,
    emrPolyPolyline16 = 90,
    emrPolyPolygon16 = 91,
    emrCreateMonoBrush = 93,
    emrCreateDIBPatternBrushPt = 94,
    emrExtCreatePen = 95,
    emrSetICMMode = 98,
    emrCreateColorSpace = 99,
    emrSetColorSpace = 100,
    emrDeleteColorSpace = 101,
    emrSetLayout = 115,
    emrCreateColorSpaceW = 122,
};

enum : uint16_t {
    wmfEOF = 0x0000,
    wmfSaveDC = 0x001E,
    wmfSetBkMode = 0x0102,
    wmfSetMapMode = 0x0103,
    wmfSetRop2 = 0x0104,
    wmfSetPolyFillMode = 0x0106,
    wmfSetStretchBltMode = 0x0107,
    wmfRestoreDC = 0x0127,
    wmfSelectObject = 0x012D,
    wmfSetTextAlign = 0x012E,
    wmfDibCreatePatternBrush = 0x0142,
    wmfDeleteObject = 0x01F0,
    wmfSetBkColor = 0x0201,
    wmfSetTextColor = 0x0209,
    wmfSetWindowOrg = 0x020B,
    wmfSetWindowExt = 0x020C,
    wmfLineTo = 0x0213,
    wmfMoveTo = 0x0214,
    wmfOffsetClipRgn = 0x0220,
    wmfSetMapperFlags = 0x0231,
    wmfCreatePenIndirect = 0x02FA,
    wmfCreateFontIndirect = 0x02FB,
    wmfCreateBrushIndirect = 0x02FC,
    wmfPolygon = 0x0324,
    wmfPolyline = 0x0325,
    wmfExcludeClipRect = 0x0415,
    wmfIntersectClipRect = 0x0416,
    wmfEllipse = 0x0418,
    wmfRectangle = 0x041B,
    wmfSetPixel = 0x041F,
    wmfPolyPolygon = 0x0538,
    wmfRoundRect = 0x061C,
    wmfPatBlt = 0x061D,
    wmfArc = 0x0817,
    wmfPie = 0x081A,
    wmfChord = 0x0830,
    wmfExtTextOut = 0x0A32,
    wmfDibStretchBlt = 0x0B41,
    wmfSetDibToDev = 0x0D33,
    wmfStretchDib = 0x0F43,
};

constexpr uint32_t StockObject = 0x80000000u;
constexpr int MaxPolyPoints = 32767;
constexpr uint32_t EmfPlusSignature = 0x2B464D45u; // "EMF+"
constexpr uint16_t emfPlusHeader = 0x4001;

// Records of the newer interface that put something on the page: clearing,
// filling and drawing figures, paths, curves, images and strings, a driver
// string, a path stroked and filled. The others are the header, the end,
// comments, the device context handed to the older records, objects and
// state.
bool EmfPlusDraws(uint16_t Type) {
    return (Type >= 0x4009 && Type <= 0x401C) || Type == 0x4036 || Type == 0x4037;
}

struct TPoint64 {
    int64_t X = 0, Y = 0;
};

// The mapping of logical units to reference-device pixels.
struct TMapping {
    int Mode = 1; // MM_TEXT
    double WinOrgX = 0, WinOrgY = 0, WinExtX = 1, WinExtY = 1;
    double VpOrgX = 0, VpOrgY = 0, VpExtX = 1, VpExtY = 1;
};

// What a saved device context brings back.
struct TDcState {
    TMapping Map;
    bool Clipped = false;
    uint32_t Font = 0; // the selected font's handle
};

struct TObject {
    enum TKind { okNone, okGdi, okIgnored } Kind = okNone;
    int Slot = -1;
    bool IsFont = false;
    uint8_t Charset = 0;
};

class TTranslator {
public:
    explicit TTranslator(const QByteArray& Emf) : D(Emf) {}

    QByteArray Run(bool* Lost) {
        if (Lost) *Lost = false;
        if (!CheckEnhancedMetafile(D)) return {};
        if (!Header()) return {};
        qsizetype at = 0;
        const qsizetype end = ReadLe32(D, 48);
        // After a record without counterpart the comments are still read:
        // whether the newer interface draws decides what may stand in.
        while (at + 8 <= end && !m_plusDraws) {
            m_at = at;
            m_size = ReadLe32(D, at + 4);
            const uint32_t type = ReadLe32(D, at);
            if (type == emrEOF) break;
            if (type == emrGdiComment)
                Comment();
            else if (at > 0 && !m_failed)
                Record(type);
            if (m_out.size() > MetafileLimits::MaxBytes) m_failed = true;
            at += m_size;
        }
        if (Lost) *Lost = m_plusDraws;
        // Records of the newer interface where the older ones draw nothing:
        // the picture is in those records alone.
        if (m_failed || m_plusDraws || m_plusOnly || (m_plus && !m_drawn)) return {};
        // Records copied as they are (a bitmap, a brush's pattern) may suit
        // the enhanced format and not the older one: what the checks of the
        // older format refuse is no translation.
        QByteArray wmf = Finish();
        return CheckWindowsMetafile(wmf) ? wmf : QByteArray();
    }

private:
    // ---- reading the current record

    bool Has(qsizetype Offset, qsizetype Bytes) {
        if (Offset < 0 || Bytes < 0 || Offset + Bytes > m_size) m_failed = true;
        return !m_failed;
    }
    uint32_t U32(qsizetype Offset) { return Has(Offset, 4) ? ReadLe32(D, m_at + Offset) : 0; }
    int32_t I32(qsizetype Offset) { return static_cast<int32_t>(U32(Offset)); }
    int16_t I16(qsizetype Offset) {
        return Has(Offset, 2) ? static_cast<int16_t>(ReadLe16(D, m_at + Offset)) : 0;
    }
    uint8_t U8(qsizetype Offset) { return Has(Offset, 1) ? static_cast<uint8_t>(D[m_at + Offset]) : 0; }
    QByteArray Bytes(qsizetype Offset, qsizetype Length) {
        return Has(Offset, Length) ? D.mid(m_at + Offset, Length) : QByteArray();
    }

    // ---- writing records

    void Rec(uint16_t Function, const QByteArray& Params) {
        const uint32_t words = 3 + static_cast<uint32_t>((Params.size() + 1) / 2);
        m_maxRecord = std::max(m_maxRecord, words);
        m_drawn = m_drawn || IsWindowsMetafileDrawingRecord(Function);
        AppendLe32(m_out, words);
        AppendLe16(m_out, Function);
        m_out += Params;
        if (Params.size() % 2) m_out.append('\0');
    }
    // A 16-bit parameter; a value outside the range fails the translation.
    void Put16(QByteArray& P, int64_t V) {
        if (V < -32768 || V > 32767) m_failed = true;
        AppendLe16(P, static_cast<uint16_t>(static_cast<int16_t>(V)));
    }
    void PutU16(QByteArray& P, uint32_t V) {
        if (V > 0xFFFF) m_failed = true;
        AppendLe16(P, static_cast<uint16_t>(V));
    }
    void Rec16(uint16_t Function, std::initializer_list<int64_t> Params) {
        QByteArray p;
        for (int64_t v : Params)
            Put16(p, v);
        Rec(Function, p);
    }
    void Rec32(uint16_t Function, uint32_t Value) {
        QByteArray p;
        AppendLe32(p, Value);
        Rec(Function, p);
    }

    // ---- the header and the mapping

    bool Header() {
        m_at = 0;
        m_size = ReadLe32(D, 4);
        const int64_t frameW = int64_t(I32(32)) - I32(24), frameH = int64_t(I32(36)) - I32(28);
        if (frameW <= 0 || frameH <= 0 || frameW > 10000000 || frameH > 10000000) return false;
        m_width = MulDiv(static_cast<int>(frameW), 96, 2540);
        m_height = MulDiv(static_cast<int>(frameH), 96, 2540);
        if (m_width <= 0 || m_height <= 0 || m_width > 32767 || m_height > 32767) return false;
        // Reference-device pixels per 0.01 mm.
        const double devX = I32(72), devY = I32(76), mmX = I32(80), mmY = I32(84);
        m_pxPerMmX = devX > 0 && mmX > 0 ? devX / mmX : 96 / 25.4;
        m_pxPerMmY = devY > 0 && mmY > 0 ? devY / mmY : 96 / 25.4;
        m_frameL = I32(24) * m_pxPerMmX / 100;
        m_frameT = I32(28) * m_pxPerMmY / 100;
        m_frameR = I32(32) * m_pxPerMmX / 100;
        m_frameB = I32(36) * m_pxPerMmY / 100;
        Rec16(wmfSetMapMode, {8}); // anisotropic: the window maps onto the picture
        m_windowDirty = true;
        return !m_failed;
    }

    // Logical units per reference-device pixel along x and y.
    bool Ratio(double& Rx, double& Ry) const {
        const TMapping& m = m_dc.Map;
        // Logical units of the fixed modes in millimetres; y runs upwards.
        static constexpr double unitMm[] = {0, 0, 0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};
        switch (m.Mode) {
        case 1:
            Rx = Ry = 1;
            return true;
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
            Rx = 1 / (m_pxPerMmX * unitMm[m.Mode]);
            Ry = -1 / (m_pxPerMmY * unitMm[m.Mode]);
            return true;
        case 7:
        case 8:
            if (m.VpExtX == 0 || m.VpExtY == 0 || m.WinExtX == 0 || m.WinExtY == 0) return false;
            Rx = m.WinExtX / m.VpExtX;
            Ry = m.WinExtY / m.VpExtY;
            if (m.Mode == 7) {
                // One logical unit is as long both ways: the viewport shrinks.
                const double r = std::max(std::abs(Rx), std::abs(Ry));
                Rx = std::copysign(r, Rx);
                Ry = std::copysign(r, Ry);
            }
            return true;
        default:
            return false;
        }
    }

    // Writes the window that maps the frame under the current mapping.
    void FlushWindow() {
        if (!m_windowDirty) return;
        m_windowDirty = false;
        double rx = 1, ry = 1;
        if (!Ratio(rx, ry)) {
            m_failed = true;
            return;
        }
        const TMapping& m = m_dc.Map;
        const double ox = m.WinOrgX + (m_frameL - m.VpOrgX) * rx, oy = m.WinOrgY + (m_frameT - m.VpOrgY) * ry;
        const double ex = (m_frameR - m_frameL) * rx, ey = (m_frameB - m_frameT) * ry;
        if (!std::isfinite(ox) || !std::isfinite(oy) || !std::isfinite(ex) || !std::isfinite(ey) ||
            std::abs(ox) > 32767 || std::abs(oy) > 32767 || std::abs(ex) > 32767 || std::abs(ey) > 32767) {
            m_failed = true;
            return;
        }
        const int64_t wx = std::llround(ex), wy = std::llround(ey);
        if (wx == 0 || wy == 0) {
            m_failed = true;
            return;
        }
        Rec16(wmfSetWindowOrg, {std::llround(oy), std::llround(ox)});
        Rec16(wmfSetWindowExt, {wy, wx});
    }

    // ---- objects

    int FreeSlot() {
        for (size_t i = 0; i < m_slots.size(); ++i)
            if (!m_slots[i]) {
                m_slots[i] = true;
                return static_cast<int>(i);
            }
        m_slots.push_back(true);
        return static_cast<int>(m_slots.size()) - 1;
    }

    TObject& Object(uint32_t Handle) {
        static TObject none;
        if (Handle == 0 || Handle >= 65536) {
            m_failed = true;
            return none = TObject();
        }
        if (m_objects.size() <= Handle) m_objects.resize(Handle + 1);
        return m_objects[Handle];
    }

    // A new object at the handle: the one there before goes.
    TObject* Create(uint32_t Handle) {
        TObject& o = Object(Handle);
        if (m_failed) return nullptr;
        Delete(o);
        o.Kind = TObject::okGdi;
        o.Slot = FreeSlot();
        o.IsFont = false;
        return &o;
    }

    void Delete(TObject& O) {
        if (O.Kind == TObject::okGdi) {
            Rec16(wmfDeleteObject, {O.Slot});
            m_slots[static_cast<size_t>(O.Slot)] = false;
        }
        O = TObject();
    }

    void Ignored(uint32_t Handle) {
        TObject& o = Object(Handle);
        if (m_failed) return;
        Delete(o);
        o.Kind = TObject::okIgnored;
    }

    void Select(uint32_t Handle) {
        if (Handle & StockObject) return SelectStock(Handle & ~StockObject);
        TObject& o = Object(Handle);
        if (m_failed || o.Kind == TObject::okIgnored) return;
        if (o.Kind != TObject::okGdi) {
            m_failed = true;
            return;
        }
        Rec16(wmfSelectObject, {o.Slot});
        if (o.IsFont) m_dc.Font = Handle;
    }

    // Stock pens and brushes become objects of their own, made once.
    void SelectStock(uint32_t Index) {
        static constexpr uint32_t brushColours[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
        if (Index == 15) return; // the default palette
        auto it = m_stock.find(Index);
        if (it == m_stock.end()) {
            QByteArray p;
            if (Index <= 5) {
                AppendLe16(p, Index == 5 ? 1 : 0); // BS_NULL or BS_SOLID
                AppendLe32(p, Index == 5 ? 0 : brushColours[Index]);
                AppendLe16(p, 0);
            } else if (Index <= 8) {
                AppendLe16(p, Index == 8 ? 5 : 0); // PS_NULL or PS_SOLID
                AppendLe32(p, 0);
                AppendLe32(p, Index == 6 ? 0xFFFFFF : 0);
            } else {
                m_failed = true; // stock fonts and the DC pen and brush have no fixed form
                return;
            }
            const int slot = FreeSlot();
            Rec(Index <= 5 ? wmfCreateBrushIndirect : wmfCreatePenIndirect, p);
            it = m_stock.emplace(Index, slot).first;
        }
        Rec16(wmfSelectObject, {it->second});
    }

    void CreatePen(uint32_t Handle, uint32_t Style, int64_t Width, uint32_t Colour) {
        TObject* o = Create(Handle);
        if (!o) return;
        QByteArray p;
        AppendLe16(p, static_cast<uint16_t>(Style & 0xFFFF));
        Put16(p, Width);
        Put16(p, 0);
        AppendLe32(p, Colour);
        Rec(wmfCreatePenIndirect, p);
    }

    void CreateDibBrush(uint32_t Handle) {
        const uint32_t usage = U32(12), offBmi = U32(16), cbBmi = U32(20), offBits = U32(24),
                       cbBits = U32(28);
        const QByteArray dib = Bytes(offBmi, cbBmi) + Bytes(offBits, cbBits);
        if (m_failed || cbBmi < 12) {
            m_failed = true;
            return;
        }
        TObject* o = Create(Handle);
        if (!o) return;
        QByteArray p;
        AppendLe16(p, 5); // BS_DIBPATTERNPT
        PutU16(p, usage);
        Rec(wmfDibCreatePatternBrush, p + dib);
    }

    void CreateFont() {
        const uint32_t handle = U32(8);
        if (!Has(12, 92)) return;
        QByteArray p;
        for (qsizetype off : {12, 16, 20, 24, 28})
            Put16(p, I32(off));
        p += Bytes(32, 8); // italic .. pitch and family
        const uint8_t charset = U8(35);
        QString face;
        for (int i = 0; i < 32; ++i) {
            const uint16_t c = ReadLe16(D, m_at + 40 + 2 * i);
            if (c == 0) break;
            face += QChar(c);
        }
        const int cp = charset == 2 ? CodePage::CP_1252 : CodePage::CharsetToCodePage(charset);
        std::string name = CodePage::FromUnicode(cp, face).substr(0, 31);
        name.push_back('\0');
        p.append(name.data(), static_cast<qsizetype>(name.size()));
        TObject* o = Create(handle);
        if (!o) return;
        o->IsFont = true;
        o->Charset = charset;
        Rec(wmfCreateFontIndirect, p);
    }

    // ---- drawing

    void Points(QByteArray& P, const std::vector<TPoint64>& Pts) {
        for (const TPoint64& pt : Pts) {
            Put16(P, pt.X);
            Put16(P, pt.Y);
        }
    }

    // The points of the record: Count at CountAt, then the points (16 or 32 bits each).
    std::vector<TPoint64> ReadPoints(qsizetype At, uint32_t Count, bool Short) {
        std::vector<TPoint64> pts;
        const qsizetype each = Short ? 4 : 8;
        if (Count > uint32_t(m_size) / each || !Has(At, qsizetype(Count) * each)) {
            m_failed = true;
            return pts;
        }
        pts.reserve(Count);
        for (uint32_t i = 0; i < Count; ++i) {
            const qsizetype a = At + qsizetype(i) * each;
            pts.push_back(Short ? TPoint64{I16(a), I16(a + 2)} : TPoint64{I32(a), I32(a + 4)});
        }
        return pts;
    }

    // A line through the points, in pieces that fit the older records.
    void Polyline(const std::vector<TPoint64>& Pts) {
        for (size_t from = 0; from + 1 < Pts.size() && !m_failed; from += MaxPolyPoints - 1) {
            const size_t n = std::min<size_t>(MaxPolyPoints, Pts.size() - from);
            QByteArray p;
            Put16(p, static_cast<int64_t>(n));
            Points(p, std::vector<TPoint64>(Pts.begin() + from, Pts.begin() + from + n));
            Rec(wmfPolyline, p);
        }
    }

    void Polygon(const std::vector<TPoint64>& Pts) {
        if (Pts.size() < 2) return;
        if (Pts.size() > MaxPolyPoints) {
            m_failed = true;
            return;
        }
        QByteArray p;
        Put16(p, static_cast<int64_t>(Pts.size()));
        Points(p, Pts);
        Rec(wmfPolygon, p);
    }

    // Cubic curves made into lines: From, then three points per curve.
    std::vector<TPoint64> Flattened(TPoint64 From, const std::vector<TPoint64>& Curves) {
        std::vector<TPoint64> out{From};
        double rx = 1, ry = 1;
        if (!Ratio(rx, ry)) rx = ry = 1;
        for (size_t i = 0; i + 2 < Curves.size(); i += 3) {
            const TPoint64 p0 = out.back(), c1 = Curves[i], c2 = Curves[i + 1], p3 = Curves[i + 2];
            // As many pieces as the control polygon is long, in device pixels over three.
            double length = 0;
            const TPoint64* pts[] = {&p0, &c1, &c2, &p3};
            for (int k = 0; k < 3; ++k)
                length += std::hypot((pts[k + 1]->X - pts[k]->X) / rx, (pts[k + 1]->Y - pts[k]->Y) / ry);
            const int n = std::clamp(static_cast<int>(length / 3), 1, 64);
            for (int k = 1; k <= n; ++k) {
                const double t = double(k) / n, u = 1 - t;
                const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
                out.push_back({std::llround(a * p0.X + b * c1.X + c * c2.X + d * p3.X),
                               std::llround(a * p0.Y + b * c1.Y + c * c2.Y + d * p3.Y)});
            }
        }
        return out;
    }

    void MoveTo(TPoint64 P) {
        m_position = P;
        Rec16(wmfMoveTo, {P.Y, P.X});
    }

    void Figure(uint16_t Function) { Rec16(Function, {I32(20), I32(16), I32(12), I32(8)}); }

    void Dib(uint16_t Function, std::initializer_list<int64_t> Params, uint32_t Rop, bool WithRop,
             uint32_t Usage, bool WithUsage, qsizetype OffBmi, qsizetype OffBits) {
        const uint32_t offBmi = U32(OffBmi), cbBmi = U32(OffBmi + 4);
        const uint32_t offBits = U32(OffBits), cbBits = U32(OffBits + 4);
        const QByteArray dib = Bytes(offBmi, cbBmi) + Bytes(offBits, cbBits);
        if (m_failed || cbBmi < 12) {
            m_failed = true;
            return;
        }
        QByteArray p;
        if (WithRop) AppendLe32(p, Rop);
        if (WithUsage) PutU16(p, Usage);
        for (int64_t v : Params)
            Put16(p, v);
        Rec(Function, p + dib);
    }

    void Text(bool Wide) {
        const uint32_t chars = U32(44), offString = U32(48), options = U32(52), offDx = U32(72);
        if (m_failed) return;
        if (options & 0x0010) { // glyph indexes: no text to translate
            m_failed = true;
            return;
        }
        std::string bytes;
        if (Wide) {
            if (chars > uint32_t(m_size) / 2 || !Has(offString, qsizetype(chars) * 2)) return;
            QString text;
            for (uint32_t i = 0; i < chars; ++i)
                text += QChar(ReadLe16(D, m_at + offString + 2 * i));
            if (!Encode(text, bytes)) {
                m_failed = true;
                return;
            }
        } else {
            const QByteArray raw = Bytes(offString, chars);
            bytes.assign(raw.constData(), static_cast<size_t>(raw.size()));
        }
        if (bytes.size() > 32767) {
            m_failed = true;
            return;
        }
        QByteArray p;
        Put16(p, I32(40));
        Put16(p, I32(36));
        Put16(p, static_cast<int64_t>(bytes.size()));
        const uint32_t kept = options & 0xDFFF; // no pairs of distances in the older format
        PutU16(p, kept & 0xFFFF);
        if (options & 0x0006)
            for (qsizetype off : {56, 60, 64, 68})
                Put16(p, I32(off));
        p.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        if (bytes.size() % 2) p.append('\0');
        // The distances, where each character took one byte.
        const qsizetype step = (options & 0x2000) ? 8 : 4;
        if (offDx != 0 && bytes.size() == chars && Has(offDx, qsizetype(chars) * step))
            for (uint32_t i = 0; i < chars; ++i)
                Put16(p, I32(offDx + qsizetype(i) * step));
        Rec(wmfExtTextOut, p);
    }

    // Text in the code of the selected font; false when the code cannot
    // hold it.
    bool Encode(const QString& Text, std::string& Out) const {
        uint8_t charset = 1;
        if (m_dc.Font < m_objects.size() && m_objects[m_dc.Font].IsFont)
            charset = m_objects[m_dc.Font].Charset;
        if (charset == 2) {
            // A symbol font's codes, or the private-use characters that stand for them.
            for (QChar c : Text) {
                const char16_t u = c.unicode();
                if (u < 0x100)
                    Out.push_back(static_cast<char>(u));
                else if (u >= 0xF000 && u <= 0xF0FF)
                    Out.push_back(static_cast<char>(u - 0xF000));
                else
                    return false;
            }
            return true;
        }
        bool lossy = false;
        Out = CodePage::FromUnicode(CodePage::CharsetToCodePage(charset), Text, &lossy);
        return !lossy;
    }

    void Restore(int32_t Relative) {
        const int64_t target = Relative < 0 ? int64_t(m_saved.size()) + Relative : Relative - 1;
        if (target < 0 || target >= int64_t(m_saved.size())) {
            m_failed = true;
            return;
        }
        Rec16(wmfRestoreDC, {target - int64_t(m_saved.size())});
        m_dc = m_saved[static_cast<size_t>(target)].first;
        m_windowDirty = m_saved[static_cast<size_t>(target)].second;
        m_saved.resize(static_cast<size_t>(target));
        // The player restores the window that was in force; a new one is
        // written when the restored mapping has not been written yet.
    }

    void Mapping(uint32_t Type) {
        TMapping& m = m_dc.Map;
        const bool pair =
            Type != emrSetMapMode && Type != emrScaleViewportExtEx && Type != emrScaleWindowExtEx;
        const double x = pair ? I32(8) : 0, y = pair ? I32(12) : 0;
        const bool fixed = m.Mode != 7 && m.Mode != 8; // extents apply to these modes only
        switch (Type) {
        case emrSetWindowExtEx:
            if (!fixed) m.WinExtX = x, m.WinExtY = y;
            break;
        case emrSetWindowOrgEx:
            m.WinOrgX = x, m.WinOrgY = y;
            break;
        case emrSetViewportExtEx:
            if (!fixed) m.VpExtX = x, m.VpExtY = y;
            break;
        case emrSetViewportOrgEx:
            m.VpOrgX = x, m.VpOrgY = y;
            break;
        case emrSetMapMode: {
            const int mode = I32(8);
            if (mode < 1 || mode > 8) {
                m_failed = true;
                return;
            }
            if (mode != m.Mode && (mode == 7 || mode == 8) && m.Mode != 7 && m.Mode != 8) {
                // Entering a scalable mode keeps the scale of the one before.
                double rx = 1, ry = 1;
                Ratio(rx, ry);
                m.WinExtX = rx * 1000, m.WinExtY = ry * 1000, m.VpExtX = m.VpExtY = 1000;
            }
            m.Mode = mode;
            break;
        }
        case emrScaleViewportExtEx:
        case emrScaleWindowExtEx: {
            const double xn = I32(8), xd = I32(12), yn = I32(16), yd = I32(20);
            if (xd == 0 || yd == 0) {
                m_failed = true;
                return;
            }
            if (fixed) break;
            double& ex = Type == emrScaleViewportExtEx ? m.VpExtX : m.WinExtX;
            double& ey = Type == emrScaleViewportExtEx ? m.VpExtY : m.WinExtY;
            ex = std::trunc(ex * xn / xd);
            ey = std::trunc(ey * yn / yd);
            break;
        }
        }
        m_windowDirty = true;
    }

    static bool Identity(const float* M) {
        return M[0] == 1 && M[1] == 0 && M[2] == 0 && M[3] == 1 && M[4] == 0 && M[5] == 0;
    }

    void Transform(uint32_t Type) {
        float m[6];
        for (int i = 0; i < 6; ++i) {
            const uint32_t bits = U32(8 + 4 * i);
            std::memcpy(&m[i], &bits, 4);
        }
        const uint32_t mode = Type == emrModifyWorldTransform ? U32(32) : 4;
        // Only the identity has a counterpart: set, or multiplied with it.
        const bool identity = mode == 1 || ((mode == 2 || mode == 3) && Identity(m) && m_identity) ||
                              (mode == 4 && Identity(m));
        m_identity = identity;
        if (!identity) m_failed = true;
    }

    // A comment that may carry records of the newer drawing interface: a
    // header (whose flag tells a dual picture, drawn whole by the older
    // records too), then records of 12 bytes and more.
    void Comment() {
        if (m_size < 16) return;
        const qsizetype length = ReadLe32(D, m_at + 8);
        if (length < 8 || length > m_size - 12 || ReadLe32(D, m_at + 12) != EmfPlusSignature) return;
        m_plus = true;
        const qsizetype end = 12 + length;
        for (qsizetype at = 16; at + 12 <= end;) {
            const uint16_t type = ReadLe16(D, m_at + at), flags = ReadLe16(D, m_at + at + 2);
            const qsizetype size = ReadLe32(D, m_at + at + 4);
            if (type == emfPlusHeader) {
                // A picture that is not dual draws nothing in the older records.
                m_dual = flags & 1;
                m_plusOnly = !m_dual;
            } else if (!m_dual && EmfPlusDraws(type)) {
                // What it draws there no Windows metafile holds.
                m_plusDraws = true;
                return;
            }
            if (size < 12 || size > end - at) return;
            at += size;
        }
    }

    void Record(uint32_t Type) {
        if (Type != emrSetWindowExtEx && Type != emrSetWindowOrgEx && Type != emrSetViewportExtEx &&
            Type != emrSetViewportOrgEx && Type != emrSetMapMode && Type != emrScaleViewportExtEx &&
            Type != emrScaleWindowExtEx && Type != emrGdiComment)
            FlushWindow();
        if (m_failed) return;
        switch (Type) {
        case emrPolyline:
        case emrPolyline16:
            return Polyline(ReadPoints(28, U32(24), Type == emrPolyline16));
        case emrPolygon:
        case emrPolygon16:
            return Polygon(ReadPoints(28, U32(24), Type == emrPolygon16));
        case emrPolylineTo:
        case emrPolylineTo16: {
            std::vector<TPoint64> pts = ReadPoints(28, U32(24), Type == emrPolylineTo16);
            if (pts.empty()) return;
            pts.insert(pts.begin(), m_position);
            Polyline(pts);
            return MoveTo(pts.back());
        }
        case emrPolyBezier:
        case emrPolyBezier16: {
            const std::vector<TPoint64> pts = ReadPoints(28, U32(24), Type == emrPolyBezier16);
            if (pts.empty()) return;
            return Polyline(Flattened(pts[0], std::vector<TPoint64>(pts.begin() + 1, pts.end())));
        }
        case emrPolyBezierTo:
        case emrPolyBezierTo16: {
            const std::vector<TPoint64> line =
                Flattened(m_position, ReadPoints(28, U32(24), Type == emrPolyBezierTo16));
            Polyline(line);
            return MoveTo(line.back());
        }
        case emrPolyPolyline:
        case emrPolyPolyline16:
        case emrPolyPolygon:
        case emrPolyPolygon16:
            return PolyPoly(Type);
        case emrSetWindowExtEx:
        case emrSetWindowOrgEx:
        case emrSetViewportExtEx:
        case emrSetViewportOrgEx:
        case emrSetMapMode:
        case emrScaleViewportExtEx:
        case emrScaleWindowExtEx:
            return Mapping(Type);
        case emrSetPixelV: {
            const uint32_t c = U32(16);
            return Rec16(wmfSetPixel, {int16_t(c & 0xFFFF), int16_t(c >> 16), I32(12), I32(8)});
        }
        case emrSetMapperFlags:
            return Rec32(wmfSetMapperFlags, U32(8));
        case emrSetBkMode:
            return Rec16(wmfSetBkMode, {I32(8)});
        case emrSetPolyFillMode:
            return Rec16(wmfSetPolyFillMode, {I32(8)});
        case emrSetRop2:
            return Rec16(wmfSetRop2, {I32(8)});
        case emrSetStretchBltMode:
            return Rec16(wmfSetStretchBltMode, {I32(8)});
        case emrSetTextAlign:
            return Rec16(wmfSetTextAlign, {int64_t(U32(8) & 0x7FFF)});
        case emrSetTextColor:
            return Rec32(wmfSetTextColor, U32(8));
        case emrSetBkColor:
            return Rec32(wmfSetBkColor, U32(8));
        case emrOffsetClipRgn:
            return Rec16(wmfOffsetClipRgn, {I32(12), I32(8)});
        case emrMoveToEx:
            return MoveTo({I32(8), I32(12)});
        case emrLineTo:
            m_position = {I32(8), I32(12)};
            return Rec16(wmfLineTo, {m_position.Y, m_position.X});
        case emrExcludeClipRect:
        case emrIntersectClipRect:
            m_dc.Clipped = true;
            return Figure(Type == emrExcludeClipRect ? wmfExcludeClipRect : wmfIntersectClipRect);
        case emrExtSelectClipRgn:
            // Back to no clipping, where nothing clips, is nothing.
            if (U32(8) != 0 || U32(12) != 5 || m_dc.Clipped) m_failed = true;
            return;
        case emrSaveDC:
            m_saved.emplace_back(m_dc, m_windowDirty);
            return Rec(wmfSaveDC, {});
        case emrRestoreDC:
            return Restore(I32(8));
        case emrSetWorldTransform:
        case emrModifyWorldTransform:
            return Transform(Type);
        case emrSelectObject:
            return Select(U32(8));
        case emrDeleteObject: {
            const uint32_t h = U32(8);
            if (h & StockObject) return;
            TObject& o = Object(h);
            if (!m_failed) Delete(o);
            return;
        }
        case emrCreatePen:
            return CreatePen(U32(8), U32(12), I32(16), U32(24));
        case emrExtCreatePen: {
            uint32_t style = U32(28);
            const uint32_t brush = U32(36);
            const int64_t width = (style & 0x00010000) ? int64_t(U32(32)) : 0; // geometric or cosmetic
            if ((style & 0xF) == 7) style &= ~0xFu;                            // user styles: solid
            if ((style & 0xF) == 8) style = (style & ~0xFu) | 2;               // alternate: dotted
            if (brush == 1) style = (style & ~0xFu) | 5;                       // a hollow brush: no pen
            return CreatePen(U32(8), style, width, U32(40));
        }
        case emrCreateBrushIndirect: {
            const uint32_t style = U32(12);
            if (style > 2) {
                m_failed = true;
                return;
            }
            if (!Create(U32(8))) return;
            QByteArray p;
            AppendLe16(p, static_cast<uint16_t>(style));
            AppendLe32(p, U32(16));
            AppendLe16(p, static_cast<uint16_t>(U32(20)));
            return Rec(wmfCreateBrushIndirect, p);
        }
        case emrCreateMonoBrush:
        case emrCreateDIBPatternBrushPt:
            return CreateDibBrush(U32(8));
        case emrExtCreateFontIndirectW:
            return CreateFont();
        case emrEllipse:
            return Figure(wmfEllipse);
        case emrRectangle:
            return Figure(wmfRectangle);
        case emrRoundRect:
            return Rec16(wmfRoundRect, {I32(28), I32(24), I32(20), I32(16), I32(12), I32(8)});
        case emrArc:
        case emrChord:
        case emrPie:
            return Rec16(Type == emrArc     ? wmfArc
                         : Type == emrChord ? wmfChord
                                            : wmfPie,
                         {I32(36), I32(32), I32(28), I32(24), I32(20), I32(16), I32(12), I32(8)});
        case emrCreatePalette:
        case emrCreateColorSpace:
        case emrCreateColorSpaceW:
            return Ignored(U32(8));
        case emrSetBrushOrgEx:
        case emrSetColorAdjustment:
        case emrSetMetaRgn:
        case emrSelectPalette:
        case emrSetPaletteEntries:
        case emrResizePalette:
        case emrRealizePalette:
        case emrSetMiterLimit:
        case emrSetICMMode:
        case emrSetColorSpace:
        case emrDeleteColorSpace:
            return;
        case emrSetArcDirection:
            if (U32(8) != 1) m_failed = true; // arcs of the older format run counterclockwise
            return;
        case emrSetLayout:
            if (U32(8) != 0) m_failed = true;
            return;
        case emrGdiComment:
            return Comment();
        case emrBitBlt:
        case emrStretchBlt: {
            const bool stretch = Type == emrStretchBlt;
            const int64_t x = I32(24), y = I32(28), w = I32(32), h = I32(36);
            const uint32_t rop = U32(40);
            if (U32(88) == 0) { // no source: the brush alone
                QByteArray p;
                AppendLe32(p, rop);
                for (int64_t v : {h, w, y, x})
                    Put16(p, v);
                return Rec(wmfPatBlt, p);
            }
            const int64_t sw = stretch ? I32(100) : w, sh = stretch ? I32(104) : h;
            return Dib(wmfDibStretchBlt, {sh, sw, I32(48), I32(44), h, w, y, x}, rop, true, 0, false, 84, 92);
        }
        case emrSetDIBitsToDevice:
            return Dib(wmfSetDibToDev,
                       {I32(72), I32(68), I32(36), I32(32), I32(44), I32(40), I32(28), I32(24)}, 0, false,
                       U32(64), true, 48, 56);
        case emrStretchDIBits:
            return Dib(wmfStretchDib,
                       {I32(44), I32(40), I32(36), I32(32), I32(76), I32(72), I32(28), I32(24)}, U32(68),
                       true, U32(64), true, 48, 56);
        case emrExtTextOutA:
        case emrExtTextOutW:
            return Text(Type == emrExtTextOutW);
        default:
            // Paths, turned bitmaps, glyph runs, ...: no counterpart.
            m_failed = true;
        }
    }

    void PolyPoly(uint32_t Type) {
        const bool isShort = Type == emrPolyPolyline16 || Type == emrPolyPolygon16;
        const uint32_t polys = U32(24), total = U32(28);
        if (m_failed || polys == 0 || polys > uint32_t(m_size) / 4 || !Has(32, qsizetype(polys) * 4)) {
            m_failed = true;
            return;
        }
        const std::vector<TPoint64> pts = ReadPoints(32 + qsizetype(polys) * 4, total, isShort);
        if (m_failed) return;
        std::vector<uint32_t> counts;
        uint64_t sum = 0;
        for (uint32_t i = 0; i < polys; ++i) {
            counts.push_back(U32(32 + qsizetype(i) * 4));
            sum += counts.back();
        }
        if (sum != total) {
            m_failed = true;
            return;
        }
        if (Type == emrPolyPolyline || Type == emrPolyPolyline16) {
            size_t at = 0;
            for (uint32_t n : counts) {
                Polyline(std::vector<TPoint64>(pts.begin() + at, pts.begin() + at + n));
                at += n;
            }
            return;
        }
        if (polys > 32767 || total > MaxPolyPoints) {
            m_failed = true;
            return;
        }
        QByteArray p;
        Put16(p, polys);
        for (uint32_t n : counts)
            Put16(p, n);
        Points(p, pts);
        Rec(wmfPolyPolygon, p);
    }

    QByteArray Finish() {
        Rec(wmfEOF, {});
        // The picture's size in units of 1/96 inch.
        return PlaceableWindowsMetafile(
            m_width, m_height, 96, static_cast<int>(std::max<size_t>(m_slots.size(), 1)), m_maxRecord, m_out);
    }

    const QByteArray& D;
    qsizetype m_at = 0, m_size = 0;
    bool m_failed = false, m_plusOnly = false;
    // Whether records of the newer interface came, and whether a record
    // written draws.
    bool m_plus = false, m_drawn = false;
    // Whether the newer interface's header said dual, and whether the newer
    // interface draws outside a dual picture.
    bool m_dual = false, m_plusDraws = false;
    QByteArray m_out;
    uint32_t m_maxRecord = 3;
    int m_width = 0, m_height = 0;
    double m_pxPerMmX = 1, m_pxPerMmY = 1;
    double m_frameL = 0, m_frameT = 0, m_frameR = 0, m_frameB = 0;
    TDcState m_dc;
    bool m_windowDirty = false;
    bool m_identity = true;
    std::vector<std::pair<TDcState, bool>> m_saved;
    TPoint64 m_position;
    std::vector<bool> m_slots;
    std::vector<TObject> m_objects;
    std::map<uint32_t, int> m_stock;
};

} // namespace

QByteArray WindowsMetafileOf(const QByteArray& Emf, bool* Lost) {
    return TTranslator(Emf).Run(Lost);
}
