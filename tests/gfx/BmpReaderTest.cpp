// Bitmap decoding of every supported layout, and refusal of broken files.
#include "gfx/BmpReader.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/TestSupport.h"

namespace lumi::gfx {
namespace {

void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
void Set32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Describes a file to build; the pixel function gives the stored value of each pixel
// (a palette index, or the packed colour for the direct depths).
struct BmpShape {
    int width = 4;
    int height = 3;
    unsigned bpp = 24;
    bool topDown = false;
    uint32_t headerSize = 40;
    uint32_t compression = 0;
    std::vector<uint32_t> palette;  // as 0x00BBGGRR
    std::vector<uint32_t> masks;    // red, green, blue
    bool fileHeader = true;
};

std::string Build(const BmpShape& shape, const std::function<uint32_t(int, int)>& value) {
    std::string dib;
    Put32(dib, shape.headerSize);
    if (shape.headerSize == 12) {
        Put16(dib, shape.width);
        Put16(dib, shape.height);
        Put16(dib, 1);
        Put16(dib, shape.bpp);
    } else {
        Put32(dib, shape.width);
        Put32(dib, shape.topDown ? -shape.height : shape.height);
        Put16(dib, 1);
        Put16(dib, shape.bpp);
        Put32(dib, shape.compression);
        for (int i = 0; i < 3; ++i) Put32(dib, 0);  // image size, resolution
        const bool shortTable = shape.bpp <= 8 && shape.palette.size() < (1u << shape.bpp);
        Put32(dib, shortTable ? static_cast<uint32_t>(shape.palette.size()) : 0);
        Put32(dib, 0);
        // Later headers carry the masks inside; the short one has them after it.
        if (shape.headerSize > 40) {
            for (size_t i = 0; i < 3; ++i) Put32(dib, i < shape.masks.size() ? shape.masks[i] : 0);
            dib.resize(shape.headerSize, '\0');
        } else {
            for (uint32_t m : shape.masks) Put32(dib, m);
        }
    }
    for (uint32_t c : shape.palette) {
        dib += static_cast<char>((c >> 16) & 0xFF);
        dib += static_cast<char>((c >> 8) & 0xFF);
        dib += static_cast<char>(c & 0xFF);
        if (shape.headerSize != 12) dib += '\0';
    }
    const size_t pixelStart = dib.size();
    const size_t stride = (static_cast<size_t>(shape.width) * shape.bpp + 31) / 32 * 4;
    for (int r = 0; r < shape.height; ++r) {
        int y = shape.topDown ? r : shape.height - 1 - r;
        std::string row(stride, '\0');
        for (int x = 0; x < shape.width; ++x) {
            uint32_t v = value(x, y);
            size_t bit = static_cast<size_t>(x) * shape.bpp;
            if (shape.bpp < 8) {
                row[bit / 8] = static_cast<char>(row[bit / 8] | (v << (8 - shape.bpp - bit % 8)));
            } else {
                for (unsigned b = 0; b < shape.bpp / 8; ++b) row[bit / 8 + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
            }
        }
        dib += row;
    }
    if (!shape.fileHeader) return dib;
    std::string file = "BM";
    Put32(file, static_cast<uint32_t>(14 + dib.size()));
    Put32(file, 0);
    Put32(file, static_cast<uint32_t>(14 + pixelStart));
    return file + dib;
}

const std::vector<uint32_t> kSixteen = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x808080, 0x123456,
                                        0x654321, 0x0F0F0F, 0xF0F0F0, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x010203,
                                        0x102030, 0x7F7F7F};

// A picture whose every pixel differs from its neighbours and from its mirror images,
// so a flipped or shifted decode cannot pass.
uint32_t Pattern(int x, int y) { return static_cast<uint32_t>((x * 7 + y * 3) % 16); }

TEST(BmpReader, PaletteDepthsDecodeBothRowOrders) {
    for (unsigned bpp : {1u, 4u, 8u}) {
        for (bool topDown : {false, true}) {
            BmpShape shape;
            shape.width = 13;  // not a multiple of any packing, so row padding matters
            shape.height = 5;
            shape.bpp = bpp;
            shape.topDown = topDown;
            const unsigned colours = 1u << (bpp < 4 ? bpp : 4);
            shape.palette.assign(kSixteen.begin(), kSixteen.begin() + colours);
            auto index = [&](int x, int y) { return Pattern(x, y) % colours; };
            std::optional<Image> image = ReadBmp(Build(shape, index));
            ASSERT_TRUE(image) << bpp << " bpp, top-down " << topDown;
            ASSERT_EQ(image->Width(), 13);
            ASSERT_EQ(image->Height(), 5);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 13; ++x)
                    ASSERT_EQ(image->Pixel(x, y), kSixteen[index(x, y)]) << bpp << " bpp at " << x << "," << y;
        }
    }
}

TEST(BmpReader, DirectDepthsDecodeChannelsInTheirPlaces) {
    BmpShape shape;
    shape.width = 5;
    shape.height = 2;
    shape.bpp = 24;
    auto bgr = [](int x, int y) { return static_cast<uint32_t>(0x010203 * (x + 1) + 0x400000 * y); };
    // Stored blue first: the file value 0xRRGGBB reads back as 0x00BBGGRR.
    auto swap = [](uint32_t v) { return (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF); };
    std::optional<Image> image = ReadBmp(Build(shape, bgr));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(0, 0), swap(bgr(0, 0)));
    EXPECT_EQ(image->Pixel(4, 1), swap(bgr(4, 1)));

    shape.bpp = 32;
    image = ReadBmp(Build(shape, [&](int x, int y) { return bgr(x, y) | 0xFF000000u; }));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(3, 1), swap(bgr(3, 1))) << "the fourth byte is not colour";

    shape.bpp = 16;  // 5-5-5: full-scale fields widen to 255
    image = ReadBmp(Build(shape, [](int x, int) { return x == 0 ? 0x7C00u : x == 1 ? 0x03E0u : 0x001Fu; }));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(image->Pixel(1, 0), 0x00FF00u);
    EXPECT_EQ(image->Pixel(2, 0), 0xFF0000u);
}

TEST(BmpReader, BitFieldMasksInShortAndLongHeaders) {
    for (uint32_t headerSize : {40u, 108u, 124u}) {
        BmpShape shape;
        shape.width = 3;
        shape.height = 1;
        shape.bpp = 16;
        shape.compression = 3;
        shape.headerSize = headerSize;
        shape.masks = {0xF800, 0x07E0, 0x001F};  // 5-6-5
        std::optional<Image> image =
            ReadBmp(Build(shape, [](int x, int) { return x == 0 ? 0xF800u : x == 1 ? 0x0400u : 0x0010u; }));
        ASSERT_TRUE(image) << headerSize;
        EXPECT_EQ(image->Pixel(0, 0), 0x0000FFu);
        EXPECT_EQ(image->Pixel(1, 0), 0x008200u);  // 32 of 63 steps
        EXPECT_EQ(image->Pixel(2, 0), 0x840000u);  // 16 of 31 steps
    }
}

TEST(BmpReader, OldCoreHeaderAndHeaderlessResourceLayout) {
    BmpShape shape;
    shape.headerSize = 12;
    shape.bpp = 4;
    shape.width = 6;
    shape.palette = kSixteen;
    std::optional<Image> image = ReadBmp(Build(shape, Pattern));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(5, 2), kSixteen[Pattern(5, 2)]);

    shape = BmpShape();
    shape.bpp = 1;
    shape.palette = {0x000000, 0xFFFFFF};
    shape.fileHeader = false;
    image = ReadBmp(Build(shape, [](int x, int y) { return static_cast<uint32_t>((x + y) & 1); }));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(0, 0), 0u);
    EXPECT_EQ(image->Pixel(1, 0), 0xFFFFFFu);
    EXPECT_EQ(image->Pixel(3, 2), 0xFFFFFFu);
}

TEST(BmpReader, IndexPastAShortColourTableReadsBlack) {
    BmpShape shape;
    shape.bpp = 8;
    shape.palette = {0x0000FF, 0x00FF00};
    std::string bytes = Build(shape, [](int x, int) { return static_cast<uint32_t>(x); });
    Set32(bytes, 14 + 32, 2);  // two colours used
    std::optional<Image> image = ReadBmp(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(1, 0), 0x00FF00u);
    EXPECT_EQ(image->Pixel(3, 0), 0u);
}

TEST(BmpReader, EveryTruncationIsRefusedOrDecodesTheSamePicture) {
    BmpShape shape;
    shape.width = 7;
    shape.height = 4;
    shape.bpp = 8;
    shape.palette = kSixteen;
    const std::string whole = Build(shape, Pattern);
    const std::optional<Image> full = ReadBmp(whole);
    ASSERT_TRUE(full);
    for (size_t length = 0; length < whole.size(); ++length) {
        std::optional<Image> cut = ReadBmp(whole.substr(0, length));
        // Only the last row's padding may go missing.
        if (cut) {
            EXPECT_EQ(*cut, *full) << length;
        }
        if (length < whole.size() - 1) {
            EXPECT_FALSE(cut) << length;
        }
    }
    EXPECT_FALSE(ReadBmp(nullptr, 10));
}

TEST(BmpReader, MalformedHeadersAreRefused) {
    BmpShape shape;
    shape.bpp = 8;
    shape.palette = kSixteen;
    const std::string good = Build(shape, Pattern);
    ASSERT_TRUE(ReadBmp(good));
    struct Damage {
        const char* what;
        size_t at;
        uint32_t value;
    };
    const Damage damages[] = {
        {"pixel offset past the end", 10, 0xFFFFFFF0u},
        {"pixel offset inside the header", 10, 20},
        {"zero header size", 14, 0},
        {"header size past the end", 14, 5000},
        {"zero width", 18, 0},
        {"negative width", 18, 0xFFFFFFFFu},
        {"zero height", 22, 0},
        {"most negative height", 22, 0x80000000u},
        {"huge width", 18, 0x7FFFFFFFu},
        {"huge height", 22, 100000},
        {"side within limits but too many pixels", 18, 16384},
        {"zero planes", 26, 0},
        {"odd depth", 28, 7},
        {"run-length compression", 30, 1},
        {"unknown compression", 30, 99},
        {"bit fields at 8 bits", 30, 3},
        {"colour count past the end", 46, 0x40000000u},
    };
    for (const Damage& d : damages) {
        std::string bad = good;
        if (d.at == 26 || d.at == 28) {
            bad[d.at] = static_cast<char>(d.value);
            bad[d.at + 1] = 0;
        } else {
            Set32(bad, d.at, d.value);
        }
        if (std::string(d.what) == "side within limits but too many pixels") Set32(bad, 22, 16384);
        EXPECT_FALSE(ReadBmp(bad)) << d.what;
    }
    EXPECT_FALSE(ReadBmp(std::string("BM")));
    EXPECT_FALSE(ReadBmp(std::string("not a picture at all, but long enough to parse")));
}

TEST(BmpReader, NonContiguousMaskIsRefused) {
    BmpShape shape;
    shape.bpp = 32;
    shape.compression = 3;
    shape.masks = {0x00FF00FF, 0x0000FF00, 0x000000FF};
    EXPECT_FALSE(ReadBmp(Build(shape, Pattern)));
}

TEST(BmpReader, WriterRoundTripsThroughFile) {
    std::optional<Image> picture = Image::Create(5, 3);  // 15 bytes a row: padding needed
    ASSERT_TRUE(picture);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) picture->SetPixel(x, y, 0x010203u * static_cast<uint32_t>(x + 10 * y) + 0x800000u);
    std::vector<uint8_t> bytes = EncodeBmp24(*picture);
    EXPECT_EQ(bytes.size(), 54u + 16u * 3u);
    testing::TempFolder folder;
    const std::string path = folder.File("w.bmp");
    ASSERT_TRUE(WriteBmpFile(path, *picture));
    std::optional<Image> back = ReadBmpFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, *picture);

    EXPECT_FALSE(WriteBmpFile(path, Image()));
    EXPECT_FALSE(WriteBmpFile(folder.File("missing/w.bmp"), *picture));
    EXPECT_FALSE(ReadBmpFile(folder.File("none.bmp")));
}

}  // namespace
}  // namespace lumi::gfx
