// Fuzz entry for the bitmap reader: any bytes must decode or be refused, never crash,
// and a decoded picture must survive a write and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfx/BmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::optional<lumi::gfx::Image> image = lumi::gfx::ReadBmp(data, size);
    if (!image) return 0;
    if (image->Width() <= 0 || image->Height() <= 0) std::abort();
    std::vector<uint8_t> again = lumi::gfx::EncodeBmp24(*image);
    std::optional<lumi::gfx::Image> back = lumi::gfx::ReadBmp(again.data(), again.size());
    if (!back || *back != *image) std::abort();
    return 0;
}
