// Test JPEGs through libjpeg's compressor into memory.
#include "common/TestJpeg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace lumi::testing {

std::vector<uint8_t> EncodeJpeg(const gfx::Image& picture, int quality, const std::vector<uint8_t>& exif) {
    return EncodeJpeg(
        picture.Width(), picture.Height(), [&](int x, int y) { return picture.Pixel(x, y); }, quality, exif);
}

std::vector<uint8_t> EncodeJpeg(int width, int height, const std::function<uint32_t(int x, int y)>& colour,
                                int quality, const std::vector<uint8_t>& exif) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < 3; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    if (!exif.empty()) {
        std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
        block.insert(block.end(), exif.begin(), exif.end());
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, block.data(), static_cast<unsigned>(block.size()));
    }
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

void WriteJpeg(const std::string& path, const gfx::Image& picture) {
    const std::vector<uint8_t> bytes = EncodeJpeg(picture);
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

std::vector<uint8_t> ExifWithOrientation(int orientation) {
    return {'M', 'M', 0, 42, 0, 0, 0, 8,                  // TIFF header, directory at 8
            0, 1,                                         // one entry
            0x01, 0x12, 0, 3, 0, 0, 0, 1,                 // orientation, SHORT, one value
            0, static_cast<uint8_t>(orientation), 0, 0,  // the value, left-aligned
            0, 0, 0, 0};                                  // no next directory
}

bool CloseColour(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

}  // namespace lumi::testing
