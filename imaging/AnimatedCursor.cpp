#include "imaging/AnimatedCursor.h"

#include "imaging/BitmapToDIB.h"
#include "imaging/IconList.h"

#include "platform/LittleEndian.h"
#include "platform/Paths.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype kChunkHeader = 8;
constexpr uint32_t kAniHeaderSize = 36;
constexpr qsizetype kMaxText = 255;

bool IdIs(const QByteArray& d, qsizetype at, const char* id) {
    return std::memcmp(d.constData() + at, id, 4) == 0;
}

// One chunk: its id at `at`, its data after the 8-byte header.
struct Chunk {
    qsizetype at = 0;
    qsizetype data = 0;
    qsizetype size = 0;
    qsizetype next = 0; // data padded to an even length
};

// The chunk at `pos` that ends before `end`; false when its header or data
// would run past it (a cut file or list ends there).
bool NextChunk(const QByteArray& d, qsizetype pos, qsizetype end, Chunk& c) {
    if (end - pos < kChunkHeader) return false;
    const uint32_t size = ReadLe32(d, pos + 4);
    if (size > uint64_t(end - pos - kChunkHeader)) return false;
    c.at = pos;
    c.data = pos + kChunkHeader;
    c.size = qsizetype(size);
    c.next = std::min(end, c.data + c.size + (c.size & 1));
    return true;
}

QString Text(const QByteArray& d, const Chunk& c) {
    QByteArray bytes = d.mid(c.data, std::min(c.size, kMaxText));
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0) bytes.truncate(nul);
    return QString::fromLatin1(bytes);
}

// What an "icon" sub-chunk gives a frame.
struct IconImage {
    std::unique_ptr<TIcon> icon;
    bool isIcon = false;
    TPoint hotSpot{0, 0};
};

IconImage ReadIcon(const QByteArray& d, const Chunk& c, uint16_t& maxColors) {
    IconImage out;
    QByteArray bytes = d.mid(c.data, c.size);
    int type = 0;
    std::vector<TIconDirEntry> entries;
    if (!TIcon::ReadDirectory(bytes, type, entries)) return out;
    out.isIcon = type == 1;
    // A cursor loads as an icon; its directory keeps the hot spot.
    bytes[2] = '\1';
    for (const TIconDirEntry& e : entries) {
        const int bits = TIcon::ImageBitCount(bytes, e);
        const uint16_t colours = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
        maxColors = std::max(maxColors, colours);
        out.hotSpot = TPoint{e.Planes, e.BitCount};
    }
    auto icon = std::make_unique<TIcon>();
    if (!icon->LoadFromStream(bytes)) return out;
    if (out.isIcon) out.hotSpot = TPoint{icon->Width() / 2, icon->Height() / 2};
    out.icon = std::move(icon);
    return out;
}

} // namespace

TIconFrame::TIconFrame() = default;

void TIconFrame::Assign(const TIconFrame& source) {
    if (source.Icon) {
        Icon = std::make_unique<TIcon>();
        Icon->Assign(*source.Icon);
    } else {
        Icon.reset();
    }
    IsIcon = source.IsIcon;
    std::memcpy(ChunkId, source.ChunkId, 4);
    ChunkSize = source.ChunkSize;
    HotSpot = source.HotSpot;
    JiffRate = source.JiffRate;
    FrameIndex = source.FrameIndex;
}

TAnimatedCursorImage::TAnimatedCursorImage() = default;
TAnimatedCursorImage::~TAnimatedCursorImage() = default;

void TAnimatedCursorImage::Clear() {
    IconFrames.clear();
    Header = TAniHeader{};
    Title.clear();
    Author.clear();
    MaxColors = 0;
}

void TAnimatedCursorImage::LoadFromStream(const QByteArray& d) {
    Clear();
    if (d.size() < 12 || !IdIs(d, 0, "RIFF") || !IdIs(d, 8, "ACON")) throw EReadError();
    try {
        const qsizetype end = d.size();
        size_t rates = 0, sequence = 0;
        Chunk c;
        for (qsizetype pos = 12; NextChunk(d, pos, end, c); pos = c.next) {
            if (IdIs(d, c.at, "anih")) {
                if (c.size < qsizetype(kAniHeaderSize)) throw EReadError();
                uint32_t v[9];
                for (int i = 0; i < 9; ++i)
                    v[i] = ReadLe32(d, c.data + 4 * i);
                Header = TAniHeader{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
                if (!(Header.bfAttributes & 1) || Header.nSteps == 0) throw EReadError();
                // Every frame needs an icon chunk of its own in the rest of the file.
                const uint64_t frames = uint64_t(IconFrames.size()) + Header.nFrames;
                if (frames > MaxFrames || Header.nSteps > MaxSteps ||
                    Header.nFrames > uint64_t(end - c.next) / kChunkHeader)
                    throw EReadError();
                for (uint32_t i = 0; i < Header.nFrames; ++i) {
                    auto f = std::make_unique<TIconFrame>();
                    f->FrameIndex = int32_t(i);
                    f->JiffRate = Header.iDispRate;
                    IconFrames.push_back(std::move(f));
                }
            } else if (IdIs(d, c.at, "rate") || IdIs(d, c.at, "seq ")) {
                // One value per chunk, for the next frame in order.
                const bool rate = IdIs(d, c.at, "rate");
                size_t& n = rate ? rates : sequence;
                if (c.size >= 4 && n < IconFrames.size()) {
                    const uint32_t value = ReadLe32(d, c.data);
                    if (rate)
                        IconFrames[n]->JiffRate = value;
                    else
                        IconFrames[n]->FrameIndex = int32_t(value);
                }
                ++n;
            } else if (IdIs(d, c.at, "LIST") && c.size >= 4) {
                const bool frames = IdIs(d, c.data, "fram");
                const bool info = IdIs(d, c.data, "INFO");
                const qsizetype listEnd = c.data + c.size;
                int32_t iconNumber = 0;
                Chunk s;
                for (qsizetype at = c.data + 4; (frames || info) && NextChunk(d, at, listEnd, s);
                     at = s.next) {
                    if (info) {
                        if (IdIs(d, s.at, "INAM")) Title = Text(d, s);
                        if (IdIs(d, s.at, "IART")) Author = Text(d, s);
                        continue;
                    }
                    if (!IdIs(d, s.at, "icon")) continue;
                    IconImage image = ReadIcon(d, s, MaxColors);
                    const int32_t number = iconNumber++;
                    if (!image.icon) continue;
                    bool taken = false;
                    for (auto& f : IconFrames) {
                        if (f->FrameIndex != number) continue;
                        f->Icon = std::make_unique<TIcon>();
                        f->Icon->Assign(*image.icon);
                        f->IsIcon = image.isIcon;
                        std::memcpy(f->ChunkId, d.constData() + s.at, 4);
                        f->ChunkSize = uint32_t(s.size);
                        f->HotSpot = image.hotSpot;
                        taken = true;
                    }
                    if (taken) continue;
                    if (IconFrames.size() >= MaxFrames) throw EReadError();
                    auto f = std::make_unique<TIconFrame>();
                    f->Icon = std::move(image.icon);
                    f->IsIcon = image.isIcon;
                    std::memcpy(f->ChunkId, d.constData() + s.at, 4);
                    f->ChunkSize = uint32_t(s.size);
                    f->HotSpot = image.hotSpot;
                    f->JiffRate = Header.iDispRate;
                    IconFrames.push_back(std::move(f));
                }
            }
        }
        std::erase_if(IconFrames, [](const std::unique_ptr<TIconFrame>& f) { return !f->Icon; });
        Header.nSteps = uint32_t(IconFrames.size());
        if (IconFrames.empty()) throw EReadError();
    } catch (...) {
        Clear();
        throw;
    }
}

void TAnimatedCursorImage::LoadFromFile(const QString& fileName) {
    QFile f(Paths::MapPath(fileName));
    if (!f.open(QIODevice::ReadOnly)) throw EReadError();
    LoadFromStream(f.readAll());
}

void TAnimatedCursorImage::SaveToStream() const {
    NotImplemented();
}

void TAnimatedCursorImage::Assign(const TAnimatedCursorImage& source) {
    if (&source == this) return;
    Clear();
    Header = source.Header;
    Title = source.Title;
    Author = source.Author;
    MaxColors = source.MaxColors;
    for (const auto& f : source.IconFrames) {
        auto copy = std::make_unique<TIconFrame>();
        copy->Assign(*f);
        IconFrames.push_back(std::move(copy));
    }
}

bool TAnimatedCursorImage::AssignTo(TIcon& icon) const {
    if (IconFrames.empty() || !IconFrames[0]->Icon) return false;
    icon.Assign(*IconFrames[0]->Icon);
    return true;
}

bool TAnimatedCursorImage::AssignTo(TBitmap& bitmap, bool vertical) const {
    if (IconFrames.empty() || !IconFrames[0]->Icon) return false;
    const int w = IconFrames[0]->Icon->Width(), h = IconFrames[0]->Icon->Height();
    const int n = int(IconFrames.size());
    TBitmap strip(vertical ? w : w * n, vertical ? h * n : h);
    strip.SetPixelFormat(pf24bit);
    TCanvas* canvas = strip.Canvas();
    canvas->Brush()->SetColor(bitmap.Canvas()->Brush()->Color());
    canvas->FillRect(Rect(0, 0, strip.Width(), strip.Height()));
    for (int i = 0; i < n; ++i) {
        const TIcon& icon = *IconFrames[size_t(i)]->Icon;
        const int x = vertical ? 0 : i * w, y = vertical ? i * h : 0;
        icon.Draw(*canvas, Bounds(x, y, icon.Width(), icon.Height()));
    }
    const QByteArray reduced = ReduceBitmapColors(strip, std::max<int>(MaxColors, 16));
    return bitmap.LoadFromStream(reduced);
}

void TAnimatedCursorImage::AssignTo(TIconList& list) const {
    list.BeginUpdate();
    list.Clear();
    for (const auto& f : IconFrames)
        list.Add(f->Icon.get());
    list.EndUpdate();
}
