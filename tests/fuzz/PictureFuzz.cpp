// Fuzz entry for the user's own picture files: any bytes, BMP or PNG by their signature,
// must decode to a picture within the limits or be refused, never crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/PictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::optional<lumi::gfx::Image> image = lumi::DecodePicture(data, size);
    if (!image) return 0;
    if (!lumi::gfx::Image::SizeAllowed(image->Width(), image->Height())) std::abort();
    if (image->Pixels().size() != static_cast<size_t>(image->Width()) * image->Height()) std::abort();
    return 0;
}
