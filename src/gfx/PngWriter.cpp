// A compact PNG encoder: one deflate block with the fixed Huffman codes and a greedy
// LZ77 search. A night sky is mostly black rows, which this shrinks more than a
// hundredfold; busier pictures come out near their raw size, which is still valid.
#include "gfx/PngWriter.h"

#include <array>

namespace lumi::gfx {
namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

constexpr unsigned kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr unsigned kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr unsigned kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                        33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr unsigned kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

constexpr size_t kWindow = 32768;
constexpr unsigned kMaxMatch = 258;
constexpr unsigned kMinMatch = 3;
// How many earlier candidates a position looks at: enough for repeated rows and long
// runs, bounded so noise costs linear time.
constexpr int kMaxChain = 32;
constexpr int kHashBits = 15;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    // Deflate packs plain values from the least significant bit up...
    void Bits(uint32_t value, unsigned count) {
        pending_ |= static_cast<uint64_t>(value) << used_;
        used_ += count;
        while (used_ >= 8) {
            out_.push_back(static_cast<uint8_t>(pending_));
            pending_ >>= 8;
            used_ -= 8;
        }
    }
    // ...but Huffman codes from their most significant bit.
    void Code(uint32_t code, unsigned length) {
        uint32_t reversed = 0;
        for (unsigned i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Bits(reversed, length);
    }
    void Flush() {
        if (used_ > 0) out_.push_back(static_cast<uint8_t>(pending_));
        pending_ = 0;
        used_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t pending_ = 0;
    unsigned used_ = 0;
};

void PutSymbol(BitWriter& w, unsigned symbol) {
    if (symbol < 144) w.Code(0x30 + symbol, 8);
    else if (symbol < 256) w.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280) w.Code(symbol - 256, 7);
    else w.Code(0xC0 + symbol - 280, 8);
}

void PutMatch(BitWriter& w, unsigned length, unsigned distance) {
    unsigned li = 28;
    while (kLengthBase[li] > length) --li;
    PutSymbol(w, 257 + li);
    w.Bits(length - kLengthBase[li], kLengthExtra[li]);
    unsigned di = 29;
    while (kDistanceBase[di] > distance) --di;
    w.Code(di, 5);
    w.Bits(distance - kDistanceBase[di], kDistanceExtra[di]);
}

void Deflate(const std::vector<uint8_t>& in, BitWriter& w) {
    w.Bits(1, 1);  // the only, hence final, block
    w.Bits(1, 2);  // fixed Huffman codes
    const size_t n = in.size();
    std::vector<int64_t> head(size_t{1} << kHashBits, -1);
    std::vector<int64_t> previous(kWindow, -1);
    auto hash = [&](size_t p) {
        return ((static_cast<size_t>(in[p]) << 10) ^ (static_cast<size_t>(in[p + 1]) << 5) ^ in[p + 2]) &
               ((size_t{1} << kHashBits) - 1);
    };
    auto insert = [&](size_t p) {
        if (p + 2 >= n) return;
        size_t h = hash(p);
        previous[p & (kWindow - 1)] = head[h];
        head[h] = static_cast<int64_t>(p);
    };

    size_t i = 0;
    while (i < n) {
        size_t bestLength = 0;
        size_t bestDistance = 0;
        if (i + 2 < n) {
            const size_t maxLength = n - i < kMaxMatch ? n - i : kMaxMatch;
            int64_t candidate = head[hash(i)];
            for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain) {
                const size_t c = static_cast<size_t>(candidate);
                if (i - c > kWindow) break;
                size_t length = 0;
                while (length < maxLength && in[c + length] == in[i + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = i - c;
                    if (length == maxLength) break;
                }
                candidate = previous[c & (kWindow - 1)];
            }
        }
        if (bestLength >= kMinMatch) {
            PutMatch(w, static_cast<unsigned>(bestLength), static_cast<unsigned>(bestDistance));
            for (size_t k = 0; k < bestLength; ++k) insert(i + k);
            i += bestLength;
        } else {
            PutSymbol(w, in[i]);
            insert(i);
            ++i;
        }
    }
    PutSymbol(w, 256);
    w.Flush();
}

void Put32BigEndian(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    Put32BigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Put32BigEndian(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size, uint32_t adler) {
    uint32_t a = adler & 0xFFFF;
    uint32_t b = adler >> 16;
    // 5552 bytes is the most that can be summed before b could overflow 32 bits.
    while (size > 0) {
        const size_t block = size < 5552 ? size : 5552;
        for (size_t i = 0; i < block; ++i) {
            a += data[i];
            b += a;
        }
        a %= 65521;
        b %= 65521;
        data += block;
        size -= block;
    }
    return b << 16 | a;
}

std::vector<uint8_t> EncodePng(int width, int height, const uint32_t* pixels, size_t stridePixels,
                               PixelOrder order) {
    if (pixels == nullptr || !Image::SizeAllowed(width, height) || stridePixels < static_cast<size_t>(width))
        return {};

    const int redShift = order == PixelOrder::ColorRef ? 0 : 16;
    const int blueShift = 16 - redShift;
    // Every row starts with filter type 0: the bytes are stored as they are.
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const uint32_t* row = pixels + static_cast<size_t>(y) * stridePixels;
        for (int x = 0; x < width; ++x) {
            raw.push_back(static_cast<uint8_t>(row[x] >> redShift));
            raw.push_back(static_cast<uint8_t>(row[x] >> 8));
            raw.push_back(static_cast<uint8_t>(row[x] >> blueShift));
        }
    }

    std::vector<uint8_t> stream = {0x78, 0x01};  // zlib: deflate, 32 KB window, no dictionary
    BitWriter bits(stream);
    Deflate(raw, bits);
    Put32BigEndian(stream, Adler32(raw.data(), raw.size()));

    std::vector<uint8_t> header;
    Put32BigEndian(header, static_cast<uint32_t>(width));
    Put32BigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits per channel, RGB, no interlace

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", stream);
    PutChunk(png, "IEND", {});
    return png;
}

bool WritePngFile(const std::string& path, const Image& image) { return WriteEncodedImage(path, EncodePng(image)); }

}  // namespace lumi::gfx
