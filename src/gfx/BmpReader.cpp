// Bitmap file decoding with every size, offset and count checked against the buffer
// before it is used: these files come from the user's disk.
#include "gfx/BmpReader.h"

#include <fstream>
#include <limits>

namespace lumi::gfx {
namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestHeaderSize = 124;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b) << 16;
}

// One colour channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    // False for a mask whose bits are not contiguous, which no writer produces.
    bool Set(uint32_t m) {
        mask = m;
        shift = 0;
        max = 0;
        if (m == 0) return true;
        while (!((m >> shift) & 1u)) ++shift;
        max = m >> shift;
        return (static_cast<uint64_t>(max) & (static_cast<uint64_t>(max) + 1)) == 0;
    }
    uint8_t Extract(uint32_t value) const {
        if (max == 0) return 0;
        uint64_t v = (value & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    unsigned bitsPerPixel = 0;
    uint64_t pixelOffset = 0;
    std::vector<uint32_t> palette;
    Channel red, green, blue;
};

std::optional<Layout> ParseHeaders(const uint8_t* data, size_t size) {
    uint64_t base = 0;
    std::optional<uint64_t> fileOffset;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (size < 14) return std::nullopt;
        fileOffset = U32(data + 10);
        base = 14;
    }
    if (size < base + 4) return std::nullopt;
    const uint32_t headerSize = U32(data + base);
    if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || headerSize > kLargestHeaderSize))
        return std::nullopt;
    if (size < base + headerSize) return std::nullopt;
    const uint8_t* h = data + base;

    Layout layout;
    int64_t width = 0;
    int64_t height = 0;
    unsigned planes = 0;
    uint32_t compression = kCompressionNone;
    uint64_t colourCount = 0;
    unsigned paletteEntrySize = 4;
    if (headerSize == kCoreHeaderSize) {
        width = U16(h + 4);
        height = U16(h + 6);
        planes = U16(h + 8);
        layout.bitsPerPixel = U16(h + 10);
        paletteEntrySize = 3;
    } else {
        width = static_cast<int32_t>(U32(h + 4));
        height = static_cast<int32_t>(U32(h + 8));
        planes = U16(h + 12);
        layout.bitsPerPixel = U16(h + 14);
        compression = U32(h + 16);
        colourCount = U32(h + 32);
    }
    const unsigned bpp = layout.bitsPerPixel;
    if (planes != 1) return std::nullopt;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return std::nullopt;
    if (height < 0) {
        layout.topDown = true;
        height = -height;  // int64, so even the most negative 32-bit value negates safely
    }
    if (!Image::SizeAllowed(width, height)) return std::nullopt;
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    uint64_t afterHeader = base + headerSize;
    if (compression == kCompressionBitFields) {
        if (bpp != 16 && bpp != 32) return std::nullopt;
        const uint8_t* masks = nullptr;
        if (headerSize == kInfoHeaderSize) {
            // The three masks follow the short header as if they were a colour table.
            if (size < afterHeader + 12) return std::nullopt;
            masks = data + afterHeader;
            afterHeader += 12;
        } else if (headerSize >= kInfoHeaderSize + 12) {
            masks = h + kInfoHeaderSize;
        } else {
            return std::nullopt;
        }
        if (!layout.red.Set(U32(masks)) || !layout.green.Set(U32(masks + 4)) || !layout.blue.Set(U32(masks + 8)))
            return std::nullopt;
    } else if (compression == kCompressionNone) {
        if (bpp == 16) {
            layout.red.Set(0x7C00);
            layout.green.Set(0x03E0);
            layout.blue.Set(0x001F);
        } else if (bpp == 32) {
            layout.red.Set(0x00FF0000);
            layout.green.Set(0x0000FF00);
            layout.blue.Set(0x000000FF);
        }
    } else {
        return std::nullopt;  // run-length and embedded JPEG/PNG data are not read
    }

    const uint64_t maxColours = bpp <= 8 ? (uint64_t{1} << bpp) : 0;
    if (bpp <= 8 && colourCount == 0) colourCount = maxColours;
    const uint64_t paletteBytes = colourCount * paletteEntrySize;
    if (afterHeader + paletteBytes > size) return std::nullopt;
    if (bpp <= 8) {
        // Entries past what the pixel depth can index are never used; indices past the
        // table's end read as black.
        const uint64_t used = colourCount < maxColours ? colourCount : maxColours;
        layout.palette.reserve(used);
        for (uint64_t i = 0; i < used; ++i) {
            const uint8_t* e = data + afterHeader + i * paletteEntrySize;
            layout.palette.push_back(Rgb(e[2], e[1], e[0]));
        }
    }

    if (fileOffset) {
        if (*fileOffset < afterHeader) return std::nullopt;
        layout.pixelOffset = *fileOffset;
    } else {
        layout.pixelOffset = afterHeader + paletteBytes;
    }

    const uint64_t stride = (static_cast<uint64_t>(width) * bpp + 31) / 32 * 4;
    const uint64_t lastRowBytes = (static_cast<uint64_t>(width) * bpp + 7) / 8;
    // The last row's padding may be missing; its pixels may not.
    if (layout.pixelOffset + stride * (static_cast<uint64_t>(height) - 1) + lastRowBytes > size)
        return std::nullopt;
    return layout;
}

void DecodeRow(const Layout& layout, const uint8_t* row, uint32_t* out) {
    const int width = layout.width;
    const size_t paletteSize = layout.palette.size();
    auto fromPalette = [&](unsigned index) { return index < paletteSize ? layout.palette[index] : 0u; };
    switch (layout.bitsPerPixel) {
    case 1:
        for (int x = 0; x < width; ++x) out[x] = fromPalette((row[x >> 3] >> (7 - (x & 7))) & 1u);
        break;
    case 4:
        for (int x = 0; x < width; ++x) out[x] = fromPalette((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu);
        break;
    case 8:
        for (int x = 0; x < width; ++x) out[x] = fromPalette(row[x]);
        break;
    case 16:
        for (int x = 0; x < width; ++x) {
            uint32_t v = U16(row + 2 * x);
            out[x] = Rgb(layout.red.Extract(v), layout.green.Extract(v), layout.blue.Extract(v));
        }
        break;
    case 24:
        for (int x = 0; x < width; ++x) out[x] = Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        break;
    case 32:
        for (int x = 0; x < width; ++x) {
            uint32_t v = U32(row + 4 * x);
            out[x] = Rgb(layout.red.Extract(v), layout.green.Extract(v), layout.blue.Extract(v));
        }
        break;
    default:
        break;
    }
}

}  // namespace

std::optional<Image> ReadBmp(const uint8_t* data, size_t size) {
    if (data == nullptr) return std::nullopt;
    std::optional<Layout> layout = ParseHeaders(data, size);
    if (!layout) return std::nullopt;
    std::optional<Image> image = Image::Create(layout->width, layout->height);
    if (!image) return std::nullopt;
    const size_t stride = (static_cast<size_t>(layout->width) * layout->bitsPerPixel + 31) / 32 * 4;
    for (int r = 0; r < layout->height; ++r) {
        const uint8_t* row = data + layout->pixelOffset + static_cast<size_t>(r) * stride;
        int y = layout->topDown ? r : layout->height - 1 - r;
        DecodeRow(*layout, row, image->Row(y));
    }
    return image;
}

std::optional<Image> ReadBmpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    std::streamoff length = in.tellg();
    if (length <= 0 || static_cast<uint64_t>(length) > kMaxBmpFileBytes) return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length)) return std::nullopt;
    return ReadBmp(bytes.data(), bytes.size());
}

std::vector<uint8_t> EncodeBmp24(const Image& image) {
    std::vector<uint8_t> out;
    if (image.Empty()) return out;
    const uint32_t width = static_cast<uint32_t>(image.Width());
    const uint32_t height = static_cast<uint32_t>(image.Height());
    const uint32_t stride = (width * 3 + 3) & ~3u;
    const uint32_t headers = 14 + kInfoHeaderSize;
    const uint64_t fileSize = headers + static_cast<uint64_t>(stride) * height;
    if (fileSize > std::numeric_limits<uint32_t>::max()) return out;
    out.reserve(static_cast<size_t>(fileSize));
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(fileSize));
    Put32(out, 0);
    Put32(out, headers);
    Put32(out, kInfoHeaderSize);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, kCompressionNone);
    Put32(out, stride * height);
    Put32(out, 2835);  // 72 dots per inch, in dots per metre
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.Height() - 1; y >= 0; --y) {
        const uint32_t* row = image.Row(y);
        for (uint32_t x = 0; x < width; ++x) {
            out.push_back(static_cast<uint8_t>(row[x] >> 16));
            out.push_back(static_cast<uint8_t>(row[x] >> 8));
            out.push_back(static_cast<uint8_t>(row[x]));
        }
        for (uint32_t pad = width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

bool WriteBmpFile(const std::string& path, const Image& image) { return WriteEncodedImage(path, EncodeBmp24(image)); }

}  // namespace lumi::gfx
