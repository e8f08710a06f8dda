#pragma once
// Small Windows and enhanced metafiles written record by record, for tests
// that need pictures with ink in known places.
//
//   QByteArray wmf = TWmfBuilder(1000, 500).WindowExt(1000, 500).Brush(0x0000FF)
//                        .Rectangle(0, 0, 500, 500).Bytes();
#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace MetafileBuilderDetail {

inline void Put16(QByteArray& B, int V) {
    const auto u = static_cast<uint16_t>(static_cast<int16_t>(V));
    B.append(char(u & 0xFF));
    B.append(char(u >> 8));
}

inline void Put32(QByteArray& B, int64_t V) {
    const auto u = static_cast<uint32_t>(V);
    for (int i = 0; i < 4; ++i)
        B.append(char((u >> (8 * i)) & 0xFF));
}

} // namespace MetafileBuilderDetail

// A placeable Windows metafile; colours are 0x00BBGGRR.
class TWmfBuilder {
public:
    // The placeable frame: Width x Height logical units at Inch per inch.
    TWmfBuilder(int Width, int Height, int Inch = 1440) : m_width(Width), m_height(Height), m_inch(Inch) {}

    // A record with 16-bit parameters as the file stores them.
    TWmfBuilder& Record(uint16_t Function, std::initializer_list<int> Params) {
        QByteArray p;
        for (int v : Params)
            MetafileBuilderDetail::Put16(p, v);
        return Raw(Function, p);
    }
    // A record with parameters given as bytes (padded to whole words).
    TWmfBuilder& Raw(uint16_t Function, QByteArray Params) {
        if (Params.size() % 2) Params.append('\0');
        QByteArray r;
        MetafileBuilderDetail::Put32(r, 3 + Params.size() / 2);
        MetafileBuilderDetail::Put16(r, Function);
        r += Params;
        m_records += r;
        m_maxRecord = std::max<int64_t>(m_maxRecord, r.size() / 2);
        return *this;
    }

    TWmfBuilder& MapMode(int Mode) { return Record(0x0103, {Mode}); }
    TWmfBuilder& WindowOrg(int X, int Y) { return Record(0x020B, {Y, X}); }
    TWmfBuilder& WindowExt(int X, int Y) { return Record(0x020C, {Y, X}); }
    TWmfBuilder& BkMode(int Mode) { return Record(0x0102, {Mode}); }
    // A solid brush, created and selected.
    TWmfBuilder& Brush(uint32_t Color) {
        QByteArray p;
        MetafileBuilderDetail::Put16(p, 0);
        MetafileBuilderDetail::Put32(p, Color);
        MetafileBuilderDetail::Put16(p, 0);
        Raw(0x02FC, p);
        return Select();
    }
    // A pen that draws nothing, created and selected.
    TWmfBuilder& NullPen() {
        Record(0x02FA, {5, 0, 0, 0, 0});
        return Select();
    }
    TWmfBuilder& Rectangle(int L, int T, int R, int B) { return Record(0x041B, {B, R, T, L}); }
    TWmfBuilder& Ellipse(int L, int T, int R, int B) { return Record(0x0418, {B, R, T, L}); }
    // A font of Height logical units turned by Escapement tenths of a
    // degree, created and selected.
    TWmfBuilder& Font(int Height, int Escapement, const QByteArray& Face) {
        QByteArray p;
        for (int v : {Height, 0, Escapement, Escapement, 400})
            MetafileBuilderDetail::Put16(p, v);
        p += QByteArray(8, '\0');
        p += Face.left(31).leftJustified(32, '\0');
        Raw(0x02FB, p);
        return Select();
    }
    // Text in the font's 8-bit code at (X, Y).
    TWmfBuilder& TextOut(int X, int Y, const QByteArray& Text) {
        QByteArray p;
        MetafileBuilderDetail::Put16(p, static_cast<int>(Text.size()));
        p += Text;
        if (p.size() % 2) p.append('\0');
        MetafileBuilderDetail::Put16(p, Y);
        MetafileBuilderDetail::Put16(p, X);
        return Raw(0x0521, p);
    }

    QByteArray Bytes() const {
        using namespace MetafileBuilderDetail;
        QByteArray out;
        Put32(out, 0x9AC6CDD7);
        Put16(out, 0);
        for (int v : {0, 0, m_width, m_height})
            Put16(out, v);
        Put16(out, m_inch);
        Put32(out, 0);
        uint16_t sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= qFromLittleEndian<uint16_t>(out.constData() + 2 * i);
        Put16(out, sum);
        QByteArray body = m_records;
        Put32(body, 3);
        Put16(body, 0);
        Put16(out, 1);
        Put16(out, 9);
        Put16(out, 0x0300);
        Put32(out, (18 + body.size()) / 2);
        Put16(out, m_objects);
        Put32(out, std::max<int64_t>(m_maxRecord, 3));
        Put16(out, 0);
        return out + body;
    }

private:
    TWmfBuilder& Select() { return Record(0x012D, {m_objects++}); }
    int m_width, m_height, m_inch;
    int m_objects = 0;
    int64_t m_maxRecord = 3;
    QByteArray m_records;
};

// An enhanced metafile drawn on a reference device of 96 pixels per inch;
// colours are 0x00BBGGRR.
class TEmfBuilder {
public:
    // Bounds and frame: Width x Height device pixels.
    TEmfBuilder(int Width, int Height) : m_width(Width), m_height(Height) {}

    TEmfBuilder& Record(uint32_t Type, std::initializer_list<int64_t> Params) {
        return Record(Type, std::vector<int64_t>(Params));
    }
    TEmfBuilder& Record(uint32_t Type, const std::vector<int64_t>& Params) {
        using namespace MetafileBuilderDetail;
        QByteArray r;
        Put32(r, Type);
        Put32(r, 8 + 4 * static_cast<int64_t>(Params.size()));
        for (int64_t v : Params)
            Put32(r, v);
        m_records += r;
        ++m_count;
        return *this;
    }
    TEmfBuilder& MapMode(int Mode) { return Record(17, {Mode}); }
    TEmfBuilder& WindowExt(int X, int Y) { return Record(9, {X, Y}); }
    TEmfBuilder& ViewportExt(int X, int Y) { return Record(11, {X, Y}); }
    TEmfBuilder& Brush(uint32_t Color) {
        ++m_objects;
        Record(39, {m_objects, 0, Color, 0});
        return Record(37, {m_objects});
    }
    // A solid pen Width units wide, created and selected.
    TEmfBuilder& Pen(int Width, uint32_t Color) {
        ++m_objects;
        Record(38, {m_objects, 0, Width, 0, Color});
        return Record(37, {m_objects});
    }
    TEmfBuilder& Rectangle(int L, int T, int R, int B) { return Record(43, {L, T, R, B}); }
    TEmfBuilder& Ellipse(int L, int T, int R, int B) { return Record(42, {L, T, R, B}); }
    // A polyline through the points (x, y pairs).
    TEmfBuilder& Polyline(const std::vector<int>& XY) {
        using namespace MetafileBuilderDetail;
        QByteArray r;
        Put32(r, 4);
        Put32(r, 8 + 16 + 4 + 4 * static_cast<int64_t>(XY.size()));
        for (int v : {0, 0, m_width - 1, m_height - 1})
            Put32(r, v);
        Put32(r, static_cast<int64_t>(XY.size() / 2));
        for (int v : XY)
            Put32(r, v);
        m_records += r;
        ++m_count;
        return *this;
    }

    QByteArray Bytes() const {
        using namespace MetafileBuilderDetail;
        QByteArray eof;
        Put32(eof, 14);
        Put32(eof, 20);
        Put32(eof, 0);
        Put32(eof, 16);
        Put32(eof, 20);
        QByteArray out;
        Put32(out, 1);
        Put32(out, 88);
        for (int v : {0, 0, m_width - 1, m_height - 1})
            Put32(out, v);
        // The frame in 0.01 mm at 96 pixels per inch.
        for (int v : {0, 0, m_width * 2540 / 96, m_height * 2540 / 96})
            Put32(out, v);
        Put32(out, 0x464D4520);
        Put32(out, 0x10000);
        Put32(out, 88 + m_records.size() + eof.size());
        Put32(out, m_count + 2);
        Put16(out, m_objects + 1);
        Put16(out, 0);
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
        // A reference device of 96 pixels per inch: 1024 x 768 pixels on 271 x 203 mm.
        for (int v : {1024, 768, 271, 203})
            Put32(out, v);
        return out + m_records + eof;
    }

private:
    int m_width, m_height;
    int m_objects = 0;
    int m_count = 0;
    QByteArray m_records;
};

// A Windows metafile of a rectangle whose corner tells variants apart.
inline QByteArray SmallWmf(int Variant) {
    return TWmfBuilder(1000, 1000).WindowExt(1000, 1000).Rectangle(0, 0, 500 + Variant, 500).Bytes();
}

// A Windows metafile whose rectangle lies Depth saved device contexts deep,
// restored one at a time after it.
inline QByteArray NestedWmf(int Depth) {
    TWmfBuilder b(1000, 1000);
    b.WindowExt(1000, 1000);
    for (int i = 0; i < Depth; ++i)
        b.Record(0x001E, {});
    b.Rectangle(0, 0, 500, 500);
    for (int i = 0; i < Depth; ++i)
        b.Record(0x0127, {-1});
    return b.Bytes();
}

// An enhanced metafile of Lines polylines of 100 points each across its
// Width x Height pixels: quick to convert, slow to draw as SVG.
inline QByteArray PolylinesEmf(int Width, int Height, int Lines) {
    TEmfBuilder b(Width, Height);
    for (int i = 0; i < Lines; ++i) {
        std::vector<int> xy;
        for (int k = 0; k < 100; ++k) {
            xy.push_back((k * 6 + i) % Width);
            xy.push_back((i * 7 + k * 13) % Height);
        }
        b.Polyline(xy);
    }
    return b.Bytes();
}
