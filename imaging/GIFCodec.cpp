#include "imaging/GIFCodec.h"

#include <array>
#include <cstdint>

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kHashSize = 17777;

// Gathers the data sub-blocks into one run of bytes; a block cut short by the
// end of the data keeps what is there.
std::vector<uint8_t> JoinSubBlocks(const QByteArray& raw, bool& cut) {
    std::vector<uint8_t> out;
    out.reserve(raw.size());
    const auto* p = reinterpret_cast<const uint8_t*>(raw.constData());
    const qsizetype n = raw.size();
    qsizetype pos = 1;
    cut = true;
    while (pos < n) {
        const int len = p[pos++];
        if (len == 0) {
            cut = false;
            break;
        }
        const qsizetype take = std::min<qsizetype>(len, n - pos);
        out.insert(out.end(), p + pos, p + pos + take);
        pos += take;
    }
    return out;
}

class BitReader {
public:
    explicit BitReader(const std::vector<uint8_t>& data) : m_data(data) {}
    // -1 when the data has run out.
    int Read(int bits) {
        while (m_count < bits) {
            if (m_pos >= m_data.size()) return -1;
            m_acc |= uint32_t(m_data[m_pos++]) << m_count;
            m_count += 8;
        }
        const int v = int(m_acc & ((1u << bits) - 1));
        m_acc >>= bits;
        m_count -= bits;
        return v;
    }
    size_t Position() const { return m_pos; }

private:
    const std::vector<uint8_t>& m_data;
    size_t m_pos = 0;
    uint32_t m_acc = 0;
    int m_count = 0;
};

class BitWriter {
public:
    explicit BitWriter(QByteArray& out) : m_out(out) {}
    void Write(int code, int bits) {
        m_acc |= uint32_t(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_block.push_back(char(m_acc & 0xFF));
            m_acc >>= 8;
            m_count -= 8;
            if (m_block.size() == 255) FlushBlock();
        }
    }
    void Finish() {
        if (m_count > 0) m_block.push_back(char(m_acc & 0xFF));
        m_acc = 0;
        m_count = 0;
        if (!m_block.isEmpty()) FlushBlock();
        m_out.append('\0');
    }

private:
    void FlushBlock() {
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }
    QByteArray& m_out;
    QByteArray m_block;
    uint32_t m_acc = 0;
    int m_count = 0;
};

// Reports a share only when it has grown, so that a caller is not flooded.
class ProgressSteps {
public:
    ProgressSteps(const TGIFProgress& progress, size_t total)
        : m_progress(progress), m_total(total), m_next(progress && total > 0 ? 0 : SIZE_MAX) {}
    // Cheap enough for every code: a comparison unless the share has grown.
    void At(size_t done) {
        if (done >= m_next) Report(done);
    }

private:
    [[gnu::noinline, gnu::cold]] void Report(size_t done) {
        const int percent = int(std::min(done, m_total) * 100 / m_total);
        m_next = (size_t(percent + 1) * m_total + 99) / 100;
        m_progress(percent);
    }
    const TGIFProgress& m_progress;
    size_t m_total;
    size_t m_next; // the amount done at which the share grows next
};

} // namespace

std::vector<int> GIFRowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(std::max(height, 0));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    static constexpr int start[4] = {0, 4, 2, 1};
    static constexpr int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
    return rows;
}

bool GIFDecodeLZW(const QByteArray& raw, int width, int height, int bitsPerPixel, bool interlaced,
                  std::vector<uint8_t>& pixels, const TGIFProgress& progress) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    pixels.assign(size_t(width) * size_t(height), 0);
    if (pixels.empty()) return true;
    if (raw.isEmpty()) return false;

    bool ok = true;
    int codeSize = uint8_t(raw[0]);
    if (codeSize < 2 || codeSize > GIFMaxCodeSize) {
        codeSize = std::clamp(codeSize, 2, GIFMaxCodeSize);
        ok = false;
    }
    bool cut = false;
    const std::vector<uint8_t> data = JoinSubBlocks(raw, cut);
    if (cut) ok = false;

    const uint8_t mask = uint8_t((1u << std::clamp(bitsPerPixel, 1, 8)) - 1);
    const std::vector<int> rows = GIFRowOrder(height, interlaced);
    size_t rowIndex = 0;
    int x = 0;
    uint8_t* line = pixels.data() + size_t(rows[0]) * size_t(width);

    std::array<uint16_t, kMaxCodes> prefix{};
    std::array<uint16_t, kMaxCodes> suffix{};
    std::array<uint8_t, kMaxCodes + 1> stack{};

    const int clear = 1 << codeSize;
    const int end = clear + 1;
    for (int i = 0; i < clear && i < kMaxCodes; ++i) suffix[size_t(i)] = uint16_t(i);
    int bits = codeSize + 1;
    int avail = clear + 2;
    int old = -1;
    int first = 0;
    BitReader reader(data);
    ProgressSteps steps(progress, data.size());
    bool filled = false;

    while (!filled) {
        int code = reader.Read(bits);
        if (code < 0) {
            ok = false;
            break;
        }
        if (code == clear) {
            bits = codeSize + 1;
            avail = clear + 2;
            old = -1;
            continue;
        }
        if (code == end) break;

        int sp = 0;
        const int in = code;
        if (old < 0) {
            if (code > clear) { // only literals may follow a clear code
                ok = false;
                break;
            }
            stack[size_t(sp++)] = uint8_t(code);
            first = code;
        } else {
            if (code > avail || (code == avail && avail >= kMaxCodes)) {
                ok = false;
                break;
            }
            if (code == avail) {
                stack[size_t(sp++)] = uint8_t(first);
                code = old;
            }
            bool tooLong = false;
            while (code >= clear) {
                if (sp >= kMaxCodes) {
                    tooLong = true;
                    break;
                }
                stack[size_t(sp++)] = uint8_t(suffix[size_t(code)]);
                code = prefix[size_t(code)];
            }
            if (tooLong) {
                ok = false;
                break;
            }
            first = code;
            stack[size_t(sp++)] = uint8_t(first);
            if (avail < kMaxCodes) {
                prefix[size_t(avail)] = uint16_t(old);
                suffix[size_t(avail)] = uint16_t(first);
                ++avail;
                if (avail == (1 << bits) && bits < 12) ++bits;
            }
        }
        old = in;
        steps.At(reader.Position());

        while (sp > 0) {
            line[x++] = stack[size_t(--sp)] & mask;
            if (x == width) {
                x = 0;
                if (++rowIndex == rows.size()) {
                    filled = true;
                    break;
                }
                line = pixels.data() + size_t(rows[rowIndex]) * size_t(width);
            }
        }
    }
    if (!filled) ok = false;
    steps.At(data.size());
    return ok;
}

QByteArray GIFEncodeLZW(const std::vector<uint8_t>& pixels, int width, int height, int bitsPerPixel,
                        bool interlaced, const TGIFProgress& progress) {
    QByteArray out;
    const int codeSize = bitsPerPixel <= 1 ? 2 : std::min(bitsPerPixel, 8);
    out.append(char(codeSize));
    BitWriter writer(out);

    const int clear = 1 << codeSize;
    const int end = clear + 1;
    int bits = codeSize + 1;
    int next = clear + 2;

    struct Entry {
        int16_t prefix = -1; // -1: free slot
        uint8_t suffix = 0;
        uint16_t code = 0;
    };
    std::vector<Entry> table(kHashSize);
    auto reset = [&] {
        std::fill(table.begin(), table.end(), Entry{});
        bits = codeSize + 1;
        next = clear + 2;
    };

    writer.Write(clear, bits);
    const size_t w = size_t(std::max(width, 0));
    const std::vector<int> rows = GIFRowOrder(std::max(height, 0), interlaced);
    if (w == 0 || rows.empty() || pixels.size() < w * size_t(height)) {
        writer.Write(end, bits);
        writer.Finish();
        return out;
    }

    const uint8_t pixelMask = uint8_t((1u << codeSize) - 1);
    int cur = -1;
    int hash = 0;
    int length = 0;
    ProgressSteps steps(progress, rows.size());
    size_t rowsDone = 0;
    for (int y : rows) {
        steps.At(rowsDone++);
        const uint8_t* line = pixels.data() + size_t(y) * w;
        for (size_t x = 0; x < w; ++x) {
            const int p = line[x] & pixelMask;
            if (cur < 0) {
                cur = p;
                hash = ((p + 3) * 301) % kHashSize;
                length = 1;
                continue;
            }
            const int h = int((int64_t(p + length + 1 + 4) * hash) % kHashSize);
            int slot = h;
            bool found = false;
            while (table[size_t(slot)].prefix >= 0) {
                const Entry& e = table[size_t(slot)];
                if (e.prefix == cur && e.suffix == p) {
                    found = true;
                    break;
                }
                if (++slot == kHashSize) slot = 0;
            }
            if (found) {
                cur = table[size_t(slot)].code;
                hash = h;
                ++length;
                continue;
            }
            writer.Write(cur, bits);
            if (next < kMaxCodes - 2) {
                table[size_t(slot)] = Entry{int16_t(cur), uint8_t(p), uint16_t(next)};
                if (next == (1 << bits) && bits < 12) ++bits;
                ++next;
            } else {
                writer.Write(clear, bits);
                reset();
            }
            cur = p;
            hash = ((p + 3) * 301) % kHashSize;
            length = 1;
        }
    }
    writer.Write(cur, bits);
    writer.Write(end, bits);
    writer.Finish();
    steps.At(rows.size());
    return out;
}
