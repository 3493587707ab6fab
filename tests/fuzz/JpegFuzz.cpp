// Fuzz entry for the JPEG decoder: any bytes must decode or be refused with a reason,
// never crash or end the process; a decoded picture has a sane size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/posix/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A smaller pixel limit than the saver's keeps each run quick; the paths are the same.
    const lumi::PictureLoad load = lumi::DecodeJpeg(data, size, 4'000'000);
    if (load.picture) {
        if (load.picture->Width() <= 0 || load.picture->Height() <= 0) std::abort();
        if (int64_t{load.picture->Width()} * load.picture->Height() > 4'000'000) std::abort();
    } else if (load.why.empty()) {
        std::abort();
    }
    return 0;
}
