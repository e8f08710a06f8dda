#include "imaging/GIFImage.h"

#include "imaging/AnimatedCursor.h"
#include "imaging/ColorReduction.h"
#include "imaging/GIFCodec.h"

#include "platform/Clipboard.h"

#include <QtEndian>

namespace {

constexpr uint8_t kExtLabels[4] = {0xF9, 0x01, 0xFF, 0xFE};

// Reads the GIF bytes; every read answers false at the end of the data.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& data) : m_data(data) {}
    bool Byte(uint8_t& b) {
        if (m_pos >= m_data.size()) return false;
        b = uint8_t(m_data[m_pos++]);
        return true;
    }
    bool Bytes(qsizetype n, QByteArray& out) {
        if (m_data.size() - m_pos < n) return false;
        out = m_data.mid(m_pos, n);
        m_pos += n;
        return true;
    }
    bool AtEnd() const { return m_pos >= m_data.size(); }
    // Sub-blocks up to a 0 length or the end; false when a block was cut.
    bool SubBlocks(QStringList* lines, QByteArray* raw) {
        uint8_t len = 0;
        while (Byte(len) && len != 0) {
            const qsizetype take = std::min<qsizetype>(len, m_data.size() - m_pos);
            const QByteArray block = m_data.mid(m_pos, take);
            m_pos += take;
            if (lines) lines->append(QString::fromLatin1(block));
            if (raw) {
                raw->append(char(take));
                raw->append(block);
            }
            if (take < len) return false;
        }
        return true;
    }

private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

uint16_t Le16(const QByteArray& b, int at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }

void PutLe16(QByteArray& out, int v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

int BitsForCount(int count) {
    int bits = 1;
    while ((1 << bits) < count && bits < 8) ++bits;
    return bits;
}

void ReadColorTable(TGIFColorTable& table, const QByteArray& bytes, int count) {
    table.Count = count;
    table.Colors.assign(bytes.begin(), bytes.begin() + count * 3);
}

void WriteColorTable(QByteArray& out, const TGIFColorTable& table, int bits) {
    const qsizetype size = qsizetype(1 << bits) * 3;
    const qsizetype have = std::min<qsizetype>(size, qsizetype(table.Colors.size()));
    out.append(reinterpret_cast<const char*>(table.Colors.data()), have);
    out.append(QByteArray(size - have, '\0'));
}

} // namespace

TColor TGIFColorTable::Color(int index) const {
    const size_t i = size_t(index) * 3;
    if (index < 0 || i + 2 >= Colors.size()) return RGB(0, 0, 0);
    return RGB(Colors[i], Colors[i + 1], Colors[i + 2]);
}

int TGIFColorTable::IndexOf(TColor c) const {
    for (int i = 0; i < Count; ++i)
        if (Color(i) == c) return i;
    return -1;
}

void TExtension::Assign(const TExtension& source) {
    ExtType = source.ExtType;
    Header = source.Header;
    Data = source.Data ? std::make_unique<QStringList>(*source.Data) : nullptr;
}

// ---- frames ----

TGIFFrame::TGIFFrame(TGIFImage* owner) : m_owner(owner), m_item(std::make_shared<TGIFItem>()) {}

TGIFFrame::~TGIFFrame() = default;

const TGIFColorTable& TGIFFrame::Palette() const {
    if (m_item->ColorTable.Count > 0 || !m_owner) return m_item->ColorTable;
    return m_owner->m_data->ColorTable;
}

void TGIFFrame::Assign(const TGIFFrame& source) {
    m_item = source.m_item;
    Origin = source.Origin;
    DelayMs = source.DelayMs;
    Disposal = source.Disposal;
    TransColor = source.TransColor;
    m_transIndex = source.m_transIndex;
    Interlaced = source.Interlaced;
    OwnPalette = source.OwnPalette;
    m_corrupt = source.m_corrupt;
    m_bitmap.reset();
    if (source.m_bitmap) m_bitmap = std::make_unique<TBitmap>(source.m_bitmap->Image());
    Extensions.clear();
    for (const auto& ext : source.Extensions) {
        if (ext->ExtType != etComment) continue;
        auto copy = std::make_unique<TExtension>();
        copy->Assign(*ext);
        Extensions.push_back(std::move(copy));
    }
    if (m_owner) m_owner->RecalcScreenSize();
}

void TGIFFrame::Assign(const TGraphic& source) {
    if (const auto* gif = dynamic_cast<const TGIFImage*>(&source)) {
        if (gif->CurrentFrame >= 0 && gif->CurrentFrame < int(gif->m_frames.size()))
            Assign(*gif->m_frames[size_t(gif->CurrentFrame)]);
        return;
    }
    if (source.Empty()) return;
    m_item = std::make_shared<TGIFItem>();
    m_transIndex = -1;
    if (const auto* bmp = dynamic_cast<const TBitmap*>(&source)) {
        m_bitmap = std::make_unique<TBitmap>(bmp->Image());
        if (source.Transparent()) TransColor = bmp->TransparentColor();
    } else {
        // Other pictures are drawn on the bitmap's brush colour, which then
        // stands for their clear parts.
        m_bitmap = std::make_unique<TBitmap>(source.Width(), source.Height());
        m_bitmap->SetPixelFormat(pf24bit);
        TCanvas* canvas = m_bitmap->Canvas();
        const TColor ground = canvas->Brush()->Color();
        canvas->FillRect(Rect(0, 0, source.Width(), source.Height()));
        source.Draw(*canvas, Rect(0, 0, source.Width(), source.Height()));
        if (source.Transparent()) TransColor = ColorToRGB(ground);
    }
    m_item->Width = uint16_t(std::min(m_bitmap->Width(), 0xFFFF));
    m_item->Height = uint16_t(std::min(m_bitmap->Height(), 0xFFFF));
    if (m_owner) m_owner->RecalcScreenSize();
}

TGIFProgress TGIFFrame::Reporter(const TRect& area, TProgressStage first) const {
    if (!m_owner || !m_owner->OnProgress) return {};
    m_owner->Progress(first, 0, false, area);
    return [owner = m_owner, area](int percent) {
        owner->Progress(psRunning, uint8_t(percent), false, area);
    };
}

TBitmap* TGIFFrame::Bitmap() const {
    if (!m_bitmap && HasRawData()) Decode();
    return m_bitmap.get();
}

void TGIFFrame::Decode() const {
    const TGIFItem& item = *m_item;
    const TGIFColorTable& palette = Palette();
    const int bits = item.BitsPerPixel;
    if (bits < 1 || bits > 8) throw EInvalidGraphicOperation("Wrong number of colors; must be a power of 2");
    std::vector<uint8_t> pixels;
    const TRect area = Bounds(Origin.x, Origin.y, item.Width, item.Height);
    const TGIFProgress progress = Reporter(area, psStarting);
    if (!GIFDecodeLZW(item.RawData, item.Width, item.Height, bits, Interlaced, pixels, progress))
        m_corrupt = true;
    if (progress) m_owner->Progress(psEnding, 100, true, area);

    const int dibBits = bits == 1 ? 1 : bits <= 4 ? 4 : 8;
    QList<QRgb> colors(1 << dibBits, qRgb(0, 0, 0));
    for (int i = 0; i < palette.Count && i < colors.size(); ++i) {
        const TColor c = palette.Color(i);
        colors[i] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
    const int w = item.Width, h = item.Height;
    QImage image(w, h, dibBits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    image.setColorTable(colors);
    for (int y = 0; y < h; ++y) {
        uint8_t* line = image.scanLine(y);
        const uint8_t* src = pixels.data() + size_t(y) * size_t(w);
        if (dibBits == 1) {
            std::fill(line, line + image.bytesPerLine(), 0);
            for (int x = 0; x < w; ++x)
                if (src[x] & 1) line[x >> 3] |= uint8_t(0x80 >> (x & 7));
        } else {
            std::copy(src, src + w, line);
        }
    }
    m_bitmap = std::make_unique<TBitmap>(image);
}

QImage TGIFFrame::TransparentImage() const {
    const TBitmap* b = Bitmap();
    if (!b || b->Empty()) return QImage();
    const QImage& image = b->Image();
    if (TransColor == clNone) return image.convertToFormat(QImage::Format_ARGB32);
    const TColor c = ColorToRGB(TransColor);
    const QRgb key = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    // Two entries of the palette may hold the same colour: only the one the
    // file names is clear. That holds while the picture keeps the decoded
    // indexes with that entry unchanged.
    const bool byIndex = (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
                          image.format() == QImage::Format_MonoLSB) &&
                         m_transIndex >= 0 && m_transIndex < image.colorCount() &&
                         (image.color(m_transIndex) | 0xFF000000u) == key;
    if (!byIndex) return ImageWithoutColor(image, key);
    const QImage indexes =
        image.format() == QImage::Format_Indexed8 ? image : image.convertToFormat(QImage::Format_Indexed8);
    QImage out = indexes.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        const uchar* index = indexes.constScanLine(y);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (index[x] == m_transIndex) line[x] = 0;
    }
    return out;
}

void TGIFFrame::Encode() {
    TBitmap* bmp = Bitmap();
    if (!bmp || bmp->Empty()) throw EInvalidGraphicOperation("No GIF Data to write");
    const QImage& image = bmp->Image();
    // A wider row would not fit the descriptor and come out skewed.
    if (image.width() > TGIFImage::MaxFrameSide || image.height() > TGIFImage::MaxFrameSide)
        throw EInvalidGraphicOperation("GIF frame too large: at most 65535 x 65535 pixels");
    auto item = std::make_shared<TGIFItem>();
    item->Width = uint16_t(image.width());
    item->Height = uint16_t(image.height());
    std::vector<uint8_t> pixels(size_t(item->Width) * item->Height);
    QList<QRgb> colors;
    int transIndex = -1;
    const TPixelFormat pf = bmp->PixelFormat();
    if (pf == pf1bit || pf == pf4bit || pf == pf8bit) {
        const QImage indexed = image.format() == QImage::Format_Indexed8
                                   ? image
                                   : image.convertToFormat(QImage::Format_Indexed8, image.colorTable());
        for (int y = 0; y < item->Height; ++y)
            std::copy(indexed.constScanLine(y), indexed.constScanLine(y) + item->Width,
                      pixels.begin() + ptrdiff_t(y) * item->Width);
        colors = indexed.colorTable();
        item->BitsPerPixel = uint8_t(pf == pf1bit ? 1 : pf == pf4bit ? 4 : 8);
    } else {
        TReducedImage reduced = ReduceMostFrequentColors(image, 256, TransColor);
        pixels = std::move(reduced.Indices);
        colors = reduced.Palette;
        transIndex = reduced.TransparentIndex;
        item->BitsPerPixel = 8;
    }
    const int count = 1 << item->BitsPerPixel;
    item->ColorTable.Count = count;
    item->ColorTable.Colors.assign(size_t(count) * 3, 0);
    for (int i = 0; i < count && i < colors.size(); ++i) {
        item->ColorTable.Colors[size_t(i) * 3] = uint8_t(qRed(colors[i]));
        item->ColorTable.Colors[size_t(i) * 3 + 1] = uint8_t(qGreen(colors[i]));
        item->ColorTable.Colors[size_t(i) * 3 + 2] = uint8_t(qBlue(colors[i]));
    }
    const TRect area = Bounds(Origin.x, Origin.y, item->Width, item->Height);
    const TGIFProgress progress = Reporter(area, psStarting);
    item->RawData = GIFEncodeLZW(pixels, item->Width, item->Height, item->BitsPerPixel, Interlaced, progress);
    if (progress) m_owner->Progress(psEnding, 100, false, area);
    m_item = std::move(item);
    m_transIndex = transIndex;
    OwnPalette = true;
}

void TGIFFrame::UpdateGraphicControl() {
    TExtension* gce = nullptr;
    for (const auto& ext : Extensions)
        if (ext->ExtType == etGraphicControl) {
            gce = ext.get();
            break;
        }
    if (!gce && (DelayMs > 0 || TransColor != clNone || Disposal != 0)) {
        auto ext = std::make_unique<TExtension>();
        ext->ExtType = etGraphicControl;
        ext->Header = QByteArray("\x04\0\0\0\0\0", 6);
        gce = ext.get();
        Extensions.push_back(std::move(ext));
    }
    if (gce) {
        if (gce->Header.size() < 6) gce->Header.resize(6, '\0');
        const int delay = DelayMs / 10;
        gce->Header[2] = char(delay & 0xFF);
        gce->Header[3] = char(delay >> 8);
        uint8_t packed = uint8_t(gce->Header[1]);
        int index = -1;
        if (TransColor != clNone) {
            const TGIFColorTable& palette = Palette();
            const bool ownStillFits = m_transIndex >= 0 && m_transIndex < palette.Count &&
                                      palette.Color(m_transIndex) == TransColor;
            index = ownStillFits ? m_transIndex : palette.IndexOf(TransColor);
        }
        if (index >= 0) {
            packed |= 1;
            gce->Header[4] = char(index);
        } else {
            packed &= uint8_t(~1);
        }
        packed = uint8_t((packed & ~0x1C) | ((Disposal & 7) << 2));
        gce->Header[1] = char(packed);
    }
    std::erase_if(Extensions, [](const std::unique_ptr<TExtension>& e) {
        return e->ExtType == etComment && (!e->Data || e->Data->isEmpty());
    });
}

// ---- image ----

TGIFImage::TGIFImage() : m_data(std::make_shared<TGIFData>()) {}

TGIFImage::~TGIFImage() = default;

void TGIFImage::Clear() {
    m_data = std::make_shared<TGIFData>();
    m_frames.clear();
    CurrentFrame = -1;
    BackColor = clNone;
    LoopCount = 1;
    LoopEnabled = false;
    GifVersion = 0;
    ScreenWidth = 0;
    ScreenHeight = 0;
}

const TGIFFrame* TGIFImage::ShownFrame() const {
    if (CurrentFrame < 0 || CurrentFrame >= int(m_frames.size())) return nullptr;
    return m_frames[size_t(CurrentFrame)].get();
}

int TGIFImage::Width() const {
    const TGIFFrame* f = ShownFrame();
    const TBitmap* b = f ? f->Bitmap() : nullptr;
    return b ? b->Width() : 0;
}

int TGIFImage::Height() const {
    const TGIFFrame* f = ShownFrame();
    const TBitmap* b = f ? f->Bitmap() : nullptr;
    return b ? b->Height() : 0;
}

void TGIFImage::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the Size of a GIF image"); }

void TGIFImage::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the Size of a GIF image"); }

bool TGIFImage::Empty() const {
    if (m_frames.empty()) return true;
    if (CurrentFrame < 0 || CurrentFrame >= int(m_frames.size())) return false;
    const TGIFFrame& f = *m_frames[size_t(CurrentFrame)];
    if (f.m_bitmap) return false;
    return !f.HasRawData();
}

bool TGIFImage::Transparent() const {
    if (!TGraphic::Transparent()) return false;
    for (const auto& f : m_frames)
        if (f->TransColor != clNone) return true;
    return false;
}

bool TGIFImage::Equals(const TGraphic& other) const {
    const auto* gif = dynamic_cast<const TGIFImage*>(&other);
    return gif && gif->m_data == m_data;
}

void TGIFImage::Draw(TCanvas& canvas, const TRect& r) const {
    const TGIFFrame* f = ShownFrame();
    const TBitmap* b = f ? f->Bitmap() : nullptr;
    if (!b || b->Empty()) return;
    const TRect all{0, 0, b->Width(), b->Height()};
    if (f->TransColor != clNone && TGraphic::Transparent())
        canvas.DrawImage(r, f->TransparentImage(), all);
    else
        canvas.DrawImage(r, b->Image(), all);
}

QImage TGIFImage::ToImage() const {
    const TGIFFrame* f = ShownFrame();
    const TBitmap* b = f ? f->Bitmap() : nullptr;
    if (!b || b->Empty()) return QImage();
    if (f->TransColor != clNone && TGraphic::Transparent()) return f->TransparentImage();
    return b->Image().convertToFormat(QImage::Format_ARGB32);
}

bool TGIFImage::LoadFromStream(const QByteArray& data) { return LoadFrom(data, true); }

bool TGIFImage::LoadFrom(const QByteArray& data, bool decodeFirst) {
    TGIFImage fresh;
    if (OnProgress)
        fresh.OnProgress = [this](TGraphic*, TProgressStage stage, uint8_t percent, bool redraw,
                                  const TRect& r, const QString& msg) {
            Progress(stage, percent, redraw, r, msg);
        };
    try {
        fresh.ReadStream(data);
        if (decodeFirst && fresh.CurrentFrame >= 0) fresh.m_frames[0]->Bitmap();
    } catch (const std::exception&) {
        return false;
    }
    m_data = std::move(fresh.m_data);
    m_frames = std::move(fresh.m_frames);
    for (auto& f : m_frames) f->m_owner = this;
    GifVersion = fresh.GifVersion;
    CurrentFrame = fresh.CurrentFrame;
    ScreenWidth = fresh.ScreenWidth;
    ScreenHeight = fresh.ScreenHeight;
    BackColor = fresh.BackColor;
    LoopEnabled = fresh.LoopEnabled;
    LoopCount = fresh.LoopCount;
    SetModified(true);
    Changed();
    return true;
}

bool TGIFImage::ReadData(const QByteArray& data) {
    if (data.size() < 4) return false;
    const uint32_t n = qFromLittleEndian<uint32_t>(data.constData());
    if (n > uint32_t(data.size() - 4)) return false;
    return LoadFromStream(data.mid(4, qsizetype(n)));
}

QByteArray TGIFImage::SaveToStream() const {
    // Writing brings the stored form up to date (encoding, extensions), which
    // the picture interface treats as part of saving.
    try {
        return const_cast<TGIFImage*>(this)->WriteStream(false);
    } catch (const std::exception&) {
        return QByteArray();
    }
}

QByteArray TGIFImage::WriteData() const {
    try {
        return const_cast<TGIFImage*>(this)->WriteStream(true);
    } catch (const std::exception&) {
        return QByteArray(4, '\0');
    }
}

unsigned TGIFImage::ClipboardFormat() {
    static const TClipboardFormat format = RegisterClipboardFormat(QStringLiteral("GIF Image"));
    return format;
}

bool TGIFImage::LoadFromClipboardFormat() {
    const QByteArray data = Clipboard()->GetAsHandle(ClipboardFormat());
    if (data.size() >= 4) {
        const uint32_t n = qFromLittleEndian<uint32_t>(data.constData());
        if (n > uint32_t(data.size() - 4) || !LoadFrom(data.mid(4, qsizetype(n)), false)) return false;
        if (!m_frames.empty()) {
            CurrentFrame = 0;
            TBitmap bmp;
            if (Clipboard()->HasFormat(CF_BITMAP) && Clipboard()->GetBitmap(bmp))
                m_frames[0]->m_bitmap = std::make_unique<TBitmap>(bmp.Image());
        }
        return true;
    }
    TBitmap bmp;
    if (!Clipboard()->GetBitmap(bmp)) return false;
    return Assign(bmp);
}

bool TGIFImage::LoadFromClipboardFormat(unsigned format) {
    return format == ClipboardFormat() && LoadFromClipboardFormat();
}

void TGIFImage::SaveToClipboardFormat() {
    if (m_frames.empty()) return;
    for (const auto& f : m_frames)
        if (!f->HasRawData()) return;
    Clipboard()->SetAsHandle(ClipboardFormat(), WriteStream(true));
}

std::unique_ptr<TGraphic> TGIFImage::Clone() const {
    auto copy = std::make_unique<TGIFImage>();
    copy->Assign(*this);
    copy->SetTransparent(TGraphic::Transparent());
    return copy;
}

bool TGIFImage::Assign(const TGraphic& source) {
    if (&source == this) return true;
    if (const auto* gif = dynamic_cast<const TGIFImage*>(&source)) {
        m_frames.clear();
        m_data = gif->m_data;
        GifVersion = gif->GifVersion;
        BackColor = gif->BackColor;
        LoopEnabled = gif->LoopEnabled;
        LoopCount = gif->LoopCount;
        ScreenWidth = gif->ScreenWidth;
        ScreenHeight = gif->ScreenHeight;
        CurrentFrame = gif->CurrentFrame;
        for (const auto& f : gif->m_frames) {
            auto copy = std::make_unique<TGIFFrame>(nullptr);
            copy->Assign(*f);
            copy->m_owner = this;
            m_frames.push_back(std::move(copy));
        }
        Changed();
        return true;
    }
    if (dynamic_cast<const TBitmap*>(&source)) {
        Clear();
        AddFrame(source);
        Changed();
        return true;
    }
    return TGraphic::Assign(source);
}

void TGIFImage::Assign(const TGIFFrame& frame) {
    auto copy = std::make_unique<TGIFFrame>(nullptr);
    copy->Assign(frame);
    const TGIFImage* owner = frame.m_owner;
    std::shared_ptr<TGIFData> data = std::make_shared<TGIFData>();
    Clear();
    if (owner) {
        data->ColorTable = owner->m_data->ColorTable;
        data->AspectRatio = owner->m_data->AspectRatio;
        data->BitsPerPixel = owner->m_data->BitsPerPixel;
        data->ColorResolution = owner->m_data->ColorResolution;
        ScreenWidth = owner->ScreenWidth;
        ScreenHeight = owner->ScreenHeight;
        BackColor = owner->BackColor;
    }
    m_data = std::move(data);
    copy->m_owner = this;
    m_frames.push_back(std::move(copy));
    CurrentFrame = 0;
    GifVersion = 1;
    Changed();
}

void TGIFImage::Assign(const TAnimatedCursorImage& cursor) {
    Clear();
    BackColor = clWindow;
    for (const auto& f : cursor.IconFrames) {
        if (!f->Icon) continue;
        AddFrame(*f->Icon);
        m_frames.back()->DelayMs = uint16_t(std::min<uint64_t>(uint64_t(f->JiffRate) * 100 / 6, 0xFFFF));
    }
    Changed();
}

std::unique_ptr<TBitmap> TGIFImage::AssignToBitmap() const {
    if (Empty()) return nullptr;
    const TGIFFrame* f = CurrentFrame == -1 ? m_frames[0].get() : ShownFrame();
    const TBitmap* b = f ? f->Bitmap() : nullptr;
    if (!b) return nullptr;
    auto out = std::make_unique<TBitmap>(b->Image());
    if (f->TransColor != clNone) {
        out->SetTransparentColor(f->TransColor);
        out->SetTransparent(true);
    }
    return out;
}

int TGIFImage::AddFrame(const TGraphic& graphic) {
    auto frame = std::make_unique<TGIFFrame>(this);
    TGIFFrame* raw = frame.get();
    m_frames.push_back(std::move(frame));
    CurrentFrame = int(m_frames.size()) - 1;
    raw->Assign(graphic);
    if (GifVersion == 0) GifVersion = 1;
    if (m_frames.size() > 1) GifVersion = 2;
    return CurrentFrame;
}

void TGIFImage::RecalcScreenSize() {
    int w = 0, h = 0;
    for (const auto& f : m_frames) {
        w = std::max(w, f->Width() + f->Origin.x);
        h = std::max(h, f->Height() + f->Origin.y);
    }
    ScreenWidth = uint16_t(std::clamp(w, 0, 0xFFFF));
    ScreenHeight = uint16_t(std::clamp(h, 0, 0xFFFF));
}

void TGIFImage::ReadStream(const QByteArray& data) {
    Clear();
    if (data.isEmpty()) return;
    ByteReader in(data);
    QByteArray head;
    if (!in.Bytes(6, head)) throw EReadError();
    const QByteArray version = head.mid(3);
    if (head.left(3).toUpper() != "GIF" || (version != "87a" && version != "89a"))
        throw EInvalidGraphicOperation("Unknown GIF version");
    GifVersion = version == "87a" ? 1 : 2;

    QByteArray screen;
    if (!in.Bytes(7, screen)) throw EReadError();
    ScreenWidth = Le16(screen, 0);
    ScreenHeight = Le16(screen, 2);
    const uint8_t packed = uint8_t(screen[4]);
    m_data->BitsPerPixel = uint8_t((packed & 7) + 1);
    m_data->ColorResolution = uint8_t(((packed >> 4) & 7) + 1);
    m_data->AspectRatio = uint8_t(screen[6]);
    if (packed & 0x80) {
        const int count = 1 << m_data->BitsPerPixel;
        QByteArray table;
        if (!in.Bytes(count * 3, table)) throw EReadError();
        ReadColorTable(m_data->ColorTable, table, count);
        const int bg = uint8_t(screen[5]);
        if (bg < count) BackColor = m_data->ColorTable.Color(bg);
    }

    std::vector<std::unique_ptr<TExtension>> pending;
    auto next = [&] {
        uint8_t b = 0;
        return in.Byte(b) ? b : uint8_t(';');
    };
    uint8_t b = 0;
    if (!in.Byte(b)) b = ';';
    while (b != 0 && b != ';') {
        while (b == '!') {
            uint8_t label = 0;
            if (!in.Byte(label)) {
                b = ';';
                break;
            }
            auto ext = std::make_unique<TExtension>();
            int headerSize = 0;
            switch (label) {
            case 0xF9: ext->ExtType = etGraphicControl; headerSize = 6; break;
            case 0xFE: ext->ExtType = etComment; break;
            case 0x01: ext->ExtType = etPlainText; headerSize = 13; break;
            case 0xFF: ext->ExtType = etApplication; headerSize = 12; break;
            default:
                throw EInvalidGraphicOperation(
                    QString::asprintf("Unrecognized extension block: %.2x", label).toStdString());
            }
            if (headerSize > 0 && !in.Bytes(headerSize, ext->Header)) {
                b = ';';
                break;
            }
            if (ext->ExtType != etGraphicControl) {
                ext->Data = std::make_unique<QStringList>();
                in.SubBlocks(ext->Data.get(), nullptr);
            }
            if (ext->ExtType == etPlainText) {
                pending.clear();
            } else if (ext->ExtType == etApplication) {
                const QByteArray id = ext->Header.mid(1, 11);
                if ((id == "NETSCAPE2.0" || id == "ANIMEXTS1.0") && !ext->Data->isEmpty()) {
                    const QByteArray sub = ext->Data->first().toLatin1();
                    if (sub.size() >= 3 && sub[0] == 1) {
                        LoopEnabled = true;
                        LoopCount = std::min<uint16_t>(Le16(sub, 1), 30000);
                    }
                }
            } else {
                pending.push_back(std::move(ext));
            }
            b = next();
        }
        if (b == ',') {
            auto frame = std::make_unique<TGIFFrame>(this);
            if (m_data->ColorTable.Count > 0) frame->m_item->BitsPerPixel = uint8_t(BitsForCount(m_data->ColorTable.Count));
            frame->Extensions = std::move(pending);
            pending.clear();
            QByteArray desc;
            if (!in.Bytes(9, desc)) break; // cut off: as if the trailer followed
            TGIFItem& item = *frame->m_item;
            frame->Origin = TPoint{Le16(desc, 0), Le16(desc, 2)};
            item.Width = Le16(desc, 4);
            item.Height = Le16(desc, 6);
            item.Packed = uint8_t(desc[8]);
            frame->Interlaced = (item.Packed & 0x40) != 0;
            if (item.Packed & 0x80) {
                const int count = 1 << ((item.Packed & 7) + 1);
                QByteArray table;
                if (!in.Bytes(count * 3, table)) break;
                ReadColorTable(item.ColorTable, table, count);
                item.BitsPerPixel = uint8_t((item.Packed & 7) + 1);
                frame->OwnPalette = true;
            }
            uint8_t codeSize = 0;
            if (in.Byte(codeSize)) {
                item.RawData.append(char(codeSize));
                if (!in.SubBlocks(nullptr, &item.RawData)) frame->m_corrupt = true;
                // Keep the stored form complete even when the data was cut.
                item.RawData.append('\0');
            } else {
                frame->m_corrupt = true;
            }
            item.StoredEmpty = item.Width == 0 || item.Height == 0;
            item.StoredWidth = item.Width;
            item.StoredHeight = item.Height;
            if (item.Width == 0) item.Width = ScreenWidth;
            if (item.Height == 0) item.Height = ScreenHeight;
            if (int64_t(item.Width) * item.Height > MaxFramePixels)
                throw EInvalidGraphicOperation("GIF frame too large");
            int delay = 0;
            for (const auto& ext : frame->Extensions) {
                if (ext->ExtType != etGraphicControl) continue;
                const uint8_t gp = uint8_t(ext->Header[1]);
                const TGIFColorTable& pal = frame->Palette();
                const int idx = uint8_t(ext->Header[4]);
                const bool transparent = (gp & 1) && idx < pal.Count;
                frame->TransColor = transparent ? pal.Color(idx) : clNone;
                frame->m_transIndex = transparent ? idx : -1;
                delay = std::max<int>(delay, Le16(ext->Header, 2));
                frame->Disposal = uint8_t((gp >> 2) & 7);
            }
            frame->DelayMs = uint16_t(std::min(delay * 10, 0xFFFF));
            m_frames.push_back(std::move(frame));
            do {
                b = next();
            } while (b == 0 && !in.AtEnd());
            if (b != '!' && b != ',') b = ';';
        } else if (b != 0 && b != ';' && b != '!') {
            if (m_data->Comment.isEmpty() && !pending.empty()) {
                bool firstText = true;
                for (const auto& ext : pending) {
                    if (ext->ExtType != etComment) continue;
                    if (!firstText) m_data->Comment.append(QStringLiteral("\r\n\r\n"));
                    m_data->Comment.append(*ext->Data);
                    firstText = false;
                }
                pending.clear();
                continue;
            }
            throw EReadError();
        } else if (b == ';' || b == 0) {
            if (m_data->Comment.isEmpty() && !pending.empty()) {
                bool firstText = true;
                for (const auto& ext : pending) {
                    if (ext->ExtType != etComment) continue;
                    if (!firstText) m_data->Comment.append(QStringLiteral("\r\n\r\n"));
                    m_data->Comment.append(*ext->Data);
                    firstText = false;
                }
                pending.clear();
            }
        }
    }
    if (!m_frames.empty()) CurrentFrame = 0;
    SetModified(true);
}

QByteArray TGIFImage::WriteStream(bool withSize) {
    if (m_frames.empty()) throw EInvalidGraphicOperation("No GIF Data to write");
    for (auto& f : m_frames)
        if (!f->HasRawData()) f->Encode();
    // A frame without pixels has nothing a reader could show; one stored
    // without a width or height goes back as it came.
    for (const auto& f : m_frames)
        if (!f->Item().StoredEmpty && (f->Width() <= 0 || f->Height() <= 0))
            throw EInvalidGraphicOperation("No GIF Data to write");
    for (auto& f : m_frames) {
        f->UpdateGraphicControl();
        if (!f->Extensions.empty()) GifVersion = 2;
    }
    if (!m_data->Comment.isEmpty()) GifVersion = 2;
    if (GifVersion == 0) GifVersion = 1;

    QByteArray out;
    out.append("GIF");
    out.append(GifVersion == 2 ? "89a" : "87a");
    RecalcScreenSize();
    PutLe16(out, ScreenWidth);
    PutLe16(out, ScreenHeight);
    const TGIFColorTable& global = m_data->ColorTable;
    const int globalBits = BitsForCount(global.Count);
    uint8_t packed = 0;
    if (global.Count > 0) {
        const int res = m_data->ColorResolution ? m_data->ColorResolution : globalBits;
        packed = uint8_t(0x80 + ((res - 1) << 4) + (globalBits - 1));
    }
    out.append(char(packed));
    out.append(char(std::max(0, BackColor == clNone ? 0 : global.IndexOf(BackColor))));
    out.append(char(m_data->AspectRatio));
    if (global.Count > 0) WriteColorTable(out, global, globalBits);

    if (LoopEnabled && m_frames.size() > 1) {
        out.append("!\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        PutLe16(out, LoopCount);
        out.append('\0');
    }
    for (const auto& f : m_frames) {
        for (const auto& ext : f->Extensions) {
            out.append('!');
            out.append(char(kExtLabels[ext->ExtType & 3]));
            out.append(ext->Header);
            if (ext->ExtType != etGraphicControl) {
                if (ext->Data)
                    for (const QString& line : *ext->Data) {
                        const QByteArray bytes = line.toLatin1().left(255);
                        if (bytes.isEmpty()) continue; // a 0 length would end the blocks
                        out.append(char(bytes.size()));
                        out.append(bytes);
                    }
                out.append('\0');
            }
        }
        const TGIFItem& item = *f->m_item;
        out.append(',');
        PutLe16(out, f->Origin.x);
        PutLe16(out, f->Origin.y);
        PutLe16(out, item.StoredEmpty ? item.StoredWidth : item.Width);
        PutLe16(out, item.StoredEmpty ? item.StoredHeight : item.Height);
        const bool local = f->OwnPalette && item.ColorTable.Count > 0;
        const int bits = BitsForCount(item.ColorTable.Count);
        out.append(char((local ? 0x80 + bits - 1 : 0) + (f->Interlaced ? 0x40 : 0)));
        if (local) WriteColorTable(out, item.ColorTable, bits);
        out.append(item.RawData);
    }
    if (!m_data->Comment.isEmpty()) {
        out.append("!\xFE", 2);
        for (const QString& line : m_data->Comment) {
            const QByteArray bytes = line.toLatin1().left(255);
            if (bytes.isEmpty()) continue; // a 0 length would end the blocks
            out.append(char(bytes.size()));
            out.append(bytes);
        }
        out.append('\0');
    }
    out.append(';');
    if (withSize) {
        QByteArray sized(4, '\0');
        qToLittleEndian<uint32_t>(uint32_t(out.size()), sized.data());
        return sized + out;
    }
    return out;
}
