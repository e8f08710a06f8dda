#include "imaging/GIFCodec.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint8_t> RandomPixels(size_t n, int bits, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> p(n);
    for (auto& v : p) v = uint8_t(rng() & ((1u << bits) - 1));
    return p;
}

// Code-size byte, then the bytes as sub-blocks and the terminator.
QByteArray Raw(int codeSize, const QByteArray& bytes) {
    QByteArray raw(1, char(codeSize));
    for (qsizetype i = 0; i < bytes.size(); i += 255) {
        const QByteArray block = bytes.mid(i, 255);
        raw.append(char(block.size()));
        raw.append(block);
    }
    raw.append('\0');
    return raw;
}

} // namespace

TEST(GIFLZW, RoundTripsEveryDepthAndBothRowOrders) {
    for (int bits : {1, 2, 4, 8})
        for (bool interlaced : {false, true}) {
            // Random 8-bit data overflows the 4096 codes several times.
            const int w = 97, h = bits == 8 ? 211 : 23;
            const auto pixels = RandomPixels(size_t(w) * h, bits, unsigned(bits * 2 + interlaced));
            const QByteArray raw = GIFEncodeLZW(pixels, w, h, bits, interlaced);
            EXPECT_EQ(raw.at(0), bits == 1 ? 2 : bits);
            EXPECT_EQ(raw.back(), '\0');
            std::vector<uint8_t> back;
            EXPECT_TRUE(GIFDecodeLZW(raw, w, h, bits, interlaced, back)) << bits << interlaced;
            EXPECT_EQ(back, pixels) << bits << interlaced;
        }
}

TEST(GIFLZW, UniformPictureCompressesIntoFullSubBlocks) {
    const std::vector<uint8_t> pixels(640 * 480, 3);
    const QByteArray raw = GIFEncodeLZW(pixels, 640, 480, 8, false);
    // Sub-blocks are 255 bytes except the last.
    qsizetype pos = 1;
    int blocks = 0;
    while (uint8_t(raw[pos]) != 0) {
        const int len = uint8_t(raw[pos]);
        pos += len + 1;
        if (uint8_t(raw[pos]) != 0) {
            EXPECT_EQ(len, 255);
        }
        ++blocks;
    }
    EXPECT_EQ(pos, raw.size() - 1);
    EXPECT_GT(blocks, 1);
    std::vector<uint8_t> back;
    EXPECT_TRUE(GIFDecodeLZW(raw, 640, 480, 8, false, back));
    EXPECT_EQ(back, pixels);
}

TEST(GIFLZW, InterlacedRowsComeInFourPasses) {
    EXPECT_EQ(GIFRowOrder(10, true), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
    EXPECT_EQ(GIFRowOrder(1, true), (std::vector<int>{0}));
    EXPECT_EQ(GIFRowOrder(3, false), (std::vector<int>{0, 1, 2}));
    // Codes 4 (clear), 1, 5 (end) with 3-bit codes: one row of one pixel.
    const QByteArray raw = Raw(2, QByteArray("\x4C\x01", 2));
    std::vector<uint8_t> pixels;
    EXPECT_TRUE(GIFDecodeLZW(raw, 1, 1, 2, true, pixels));
    EXPECT_EQ(pixels, std::vector<uint8_t>{1});
}

TEST(GIFLZW, DamagedDataKeepsWhatWasDecoded) {
    const auto pixels = RandomPixels(40 * 40, 4, 7);
    const QByteArray raw = GIFEncodeLZW(pixels, 40, 40, 4, false);
    std::vector<uint8_t> back;

    // Cut in the middle: the first part is there, the rest stays 0.
    const QByteArray cut = raw.left(raw.size() / 2);
    EXPECT_FALSE(GIFDecodeLZW(cut, 40, 40, 4, false, back));
    ASSERT_EQ(back.size(), pixels.size());
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + 100, pixels.begin()));
    EXPECT_EQ(back.back(), 0);

    // A code beyond the next free one ends decoding.
    std::vector<uint8_t> small;
    EXPECT_FALSE(GIFDecodeLZW(Raw(2, QByteArray("\x0C\x0F", 2)), 4, 1, 2, false, small)); // 4, 1, 7
    EXPECT_EQ(small, (std::vector<uint8_t>{1, 0, 0, 0}));

    // Only literals may follow a clear code.
    EXPECT_FALSE(GIFDecodeLZW(Raw(2, QByteArray("\x34", 1)), 2, 1, 2, false, small)); // 4, 6
    EXPECT_EQ(small, (std::vector<uint8_t>{0, 0}));

    // A code size outside 2..9 is clamped and reported.
    EXPECT_FALSE(GIFDecodeLZW(Raw(12, QByteArray(8, '\xFF')), 3, 3, 8, false, small));
    EXPECT_FALSE(GIFDecodeLZW(QByteArray(), 3, 3, 8, false, small));
    EXPECT_FALSE(GIFDecodeLZW(QByteArray(1, '\x02'), 3, 3, 8, false, small));
    EXPECT_EQ(small, std::vector<uint8_t>(9, 0));
}

TEST(GIFLZW, PixelValuesAreMaskedToTheDepth) {
    // Code size 3, codes 8 (clear), 7, 9 (end): 4-bit codes, pixel 7 in a 2-bit picture.
    std::vector<uint8_t> pixels;
    EXPECT_TRUE(GIFDecodeLZW(Raw(3, QByteArray("\x78\x09", 2)), 1, 1, 2, false, pixels));
    EXPECT_EQ(pixels, std::vector<uint8_t>{3});
}

TEST(GIFLZW, FullTableWithoutClearKeepsDecoding) {
    // Literal codes only, no clear after the table is full: the code width
    // stays at 12 bits and decoding goes on.
    QByteArray bytes;
    uint32_t acc = 0;
    int count = 0, bits = 3, avail = 6;
    auto put = [&](int code) {
        acc |= uint32_t(code) << count;
        count += bits;
        while (count >= 8) {
            bytes.append(char(acc & 0xFF));
            acc >>= 8;
            count -= 8;
        }
    };
    std::vector<uint8_t> expected;
    put(4);
    for (int i = 0; i < 5000; ++i) {
        const int literal = (i / 3) & 3;
        put(literal);
        expected.push_back(uint8_t(literal));
        if (i > 0 && avail < 4096 && ++avail == (1 << bits) && bits < 12) ++bits;
    }
    put(5);
    if (count > 0) bytes.append(char(acc & 0xFF));
    std::vector<uint8_t> pixels;
    EXPECT_TRUE(GIFDecodeLZW(Raw(2, bytes), 5000, 1, 2, false, pixels));
    EXPECT_EQ(pixels, expected);
}

TEST(GIFLZW, LargeCodeSizesStartWithWideCodes) {
    // Code size 11: 12-bit codes from the start, clear 2048, end 2049. After
    // 1, 2, 2050, 3 the table holds 2050 "1 2", 2051 "2 1", 2052 "1 2 3".
    const auto pack = [](std::initializer_list<int> codes) {
        QByteArray bytes;
        uint32_t acc = 0;
        int count = 0;
        for (int code : codes) {
            acc |= uint32_t(code) << count;
            count += 12;
            while (count >= 8) {
                bytes.append(char(acc & 0xFF));
                acc >>= 8;
                count -= 8;
            }
        }
        if (count > 0) bytes.append(char(acc & 0xFF));
        return bytes;
    };
    std::vector<uint8_t> pixels;
    EXPECT_TRUE(GIFDecodeLZW(Raw(11, pack({2048, 1, 2, 2050, 3, 2052, 2049})), 4, 2, 4, false, pixels));
    EXPECT_EQ(pixels, (std::vector<uint8_t>{1, 2, 1, 2, 3, 1, 2, 3}));
    // A code size of 12 leaves no room for strings: read as 11 and marked damaged.
    EXPECT_FALSE(GIFDecodeLZW(Raw(12, pack({2048, 1, 2049})), 1, 1, 4, false, pixels));
    EXPECT_EQ(pixels, std::vector<uint8_t>{1});
}
