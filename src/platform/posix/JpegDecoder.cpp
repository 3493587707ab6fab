// libjpeg decoding. libjpeg reports a fatal error by calling error_exit, whose default
// ends the process; ours jumps back to the stage that called it. Each stage keeps only
// plain data on its stack, so the jump skips no destructor.
#include "platform/posix/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>
// jerror.h needs jpeglib.h first.
#include <jerror.h>

namespace lumi {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void ErrorExit(j_common_ptr cinfo) {
    ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings are not printed. Data that ends early, in the file or at a marker, is
// remembered and refused, since the rest of the picture would be grey.
void EmitMessage(j_common_ptr cinfo, int level) {
    ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0) {
        if (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER) err->truncated = true;
        cinfo->err->num_warnings++;
    }
}

void OutputMessage(j_common_ptr) {}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
};

// Reads the header and the markers we keep; false after a fatal error.
bool ReadHeader(Decoder& d, const uint8_t* data, size_t size) {
    if (setjmp(d.err.jump)) return false;
    jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

// Picks the smallest reduction that fits gfx::Image, then starts decompression.
bool Start(Decoder& d, bool cmyk) {
    if (setjmp(d.err.jump)) return false;
    d.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    d.cinfo.scale_num = 1;
    for (unsigned denom = 1; denom <= 8; denom *= 2) {
        d.cinfo.scale_denom = denom;
        jpeg_calc_output_dimensions(&d.cinfo);
        if (gfx::Image::SizeAllowed(d.cinfo.output_width, d.cinfo.output_height)) break;
    }
    if (!gfx::Image::SizeAllowed(d.cinfo.output_width, d.cinfo.output_height)) {
        std::snprintf(d.err.message, sizeof d.err.message, "the picture is too large to show");
        return false;
    }
    jpeg_start_decompress(&d.cinfo);
    return true;
}

// Decodes every row into the picture through one row buffer of output_width × 4 bytes.
bool ReadRows(Decoder& d, gfx::Image* picture, uint8_t* row, bool cmyk, bool invertedCmyk) {
    if (setjmp(d.err.jump)) return false;
    const int channels = d.cinfo.output_components;
    while (d.cinfo.output_scanline < d.cinfo.output_height && !d.err.truncated) {
        const int y = static_cast<int>(d.cinfo.output_scanline);
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&d.cinfo, rows, 1) != 1) break;
        uint32_t* out = picture->Row(y);
        for (int x = 0; x < picture->Width(); ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * channels;
            uint32_t r, g, b;
            if (cmyk) {
                // Adobe writes CMYK inverted (255 = no ink); others write it plainly.
                const uint32_t c = invertedCmyk ? p[0] : 255u - p[0], m = invertedCmyk ? p[1] : 255u - p[1],
                               yy = invertedCmyk ? p[2] : 255u - p[2], k = invertedCmyk ? p[3] : 255u - p[3];
                r = c * k / 255;
                g = m * k / 255;
                b = yy * k / 255;
            } else {
                r = p[0];
                g = p[1];
                b = p[2];
            }
            out[x] = r | (g << 8) | (b << 16);
        }
    }
    if (d.err.truncated || d.cinfo.output_scanline < d.cinfo.output_height) {
        std::snprintf(d.err.message, sizeof d.err.message, "the file ends before the picture does");
        return false;
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

uint16_t Read16(const uint8_t* p, bool little) {
    return little ? static_cast<uint16_t>(p[0] | (p[1] << 8)) : static_cast<uint16_t>((p[0] << 8) | p[1]);
}

uint32_t Read32(const uint8_t* p, bool little) {
    return little ? (p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24))
                  : ((uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]);
}

// The orientation tag (1..8) of the first EXIF block's first directory, or 1.
int ExifOrientation(const jpeg_decompress_struct& cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1 || m->data_length < 14 || std::memcmp(m->data, "Exif\0\0", 6) != 0) continue;
        const uint8_t* tiff = m->data + 6;
        const size_t size = m->data_length - 6;
        const bool little = tiff[0] == 'I' && tiff[1] == 'I';
        if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
        const uint32_t ifd = Read32(tiff + 4, little);
        if (ifd > size - 2) return 1;
        const unsigned count = Read16(tiff + ifd, little);
        for (unsigned i = 0; i < count; ++i) {
            const size_t at = ifd + 2 + size_t{i} * 12;
            if (at + 12 > size) return 1;
            if (Read16(tiff + at, little) == 0x0112) {
                const int value = Read16(tiff + at + 8, little);
                return value >= 1 && value <= 8 ? value : 1;
            }
        }
        return 1;
    }
    return 1;
}

// The picture as a viewer shows it: EXIF orientations 2..8 mirror and turn the stored one.
gfx::Image Upright(gfx::Image in, int orientation) {
    if (orientation <= 1) return in;
    const bool swap = orientation >= 5;
    const int w = swap ? in.Height() : in.Width(), h = swap ? in.Width() : in.Height();
    std::optional<gfx::Image> out = gfx::Image::Create(w, h);
    if (!out) return in;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;
                case 3: sx = w - 1 - x; sy = h - 1 - y; break;
                case 4: sy = h - 1 - y; break;
                case 5: sx = y; sy = x; break;
                case 6: sx = y; sy = w - 1 - x; break;
                case 7: sx = h - 1 - y; sy = w - 1 - x; break;
                case 8: sx = h - 1 - y; sy = x; break;
                default: break;
            }
            out->SetPixel(x, y, in.Pixel(sx, sy));
        }
    }
    return std::move(*out);
}

}  // namespace

PictureLoad DecodeJpeg(const uint8_t* data, size_t size, int64_t maxPixels) {
    PictureLoad result;
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8) {
        result.why = "not a JPEG file";
        return result;
    }
    Decoder d;
    std::memset(&d, 0, sizeof d);
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = ErrorExit;
    d.err.pub.emit_message = EmitMessage;
    d.err.pub.output_message = OutputMessage;
    jpeg_create_decompress(&d.cinfo);

    bool ok = ReadHeader(d, data, size);
    if (ok && int64_t{d.cinfo.image_width} * d.cinfo.image_height > maxPixels) {
        std::snprintf(d.err.message, sizeof d.err.message, "the picture has %u x %u pixels, more than %lld",
                      d.cinfo.image_width, d.cinfo.image_height, static_cast<long long>(maxPixels));
        ok = false;
    }
    // Read now: the saved markers go with the picture's memory when decoding finishes.
    const int orientation = ok ? ExifOrientation(d.cinfo) : 1;
    const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
    if (ok) ok = Start(d, cmyk);
    std::optional<gfx::Image> picture;
    std::vector<uint8_t> row;
    if (ok) {
        picture = gfx::Image::Create(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height));
        row.resize(size_t{d.cinfo.output_width} * 4);
        if (!picture) {
            std::snprintf(d.err.message, sizeof d.err.message, "no memory for the picture");
            ok = false;
        }
    }
    if (ok) ok = ReadRows(d, &*picture, row.data(), cmyk, d.cinfo.saw_Adobe_marker != 0);
    jpeg_destroy_decompress(&d.cinfo);
    if (!ok) {
        result.why = d.err.message[0] ? d.err.message : "the picture cannot be decoded";
        return result;
    }
    result.picture = Upright(std::move(*picture), orientation);
    return result;
}

}  // namespace lumi
