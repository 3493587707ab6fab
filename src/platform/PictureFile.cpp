// Reads a picture file and hands it to the decoder its signature names.
#include "platform/PictureFile.h"

#include <cstring>
#include <fstream>
#include <vector>

#include "gfx/BmpReader.h"

namespace lumi {

std::optional<gfx::Image> DecodePicture(const uint8_t* data, size_t size) {
    static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data == nullptr) return std::nullopt;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return gfx::ReadBmp(data, size);
    if (size >= sizeof kPngSignature && std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0)
        return DecodePng(data, size);
    return std::nullopt;
}

std::optional<gfx::Image> ReadPictureFile(const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes;
    // Read in pieces up to the limit rather than trusting a size the file system reports
    // (a pipe or a device has none).
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > kMaxPictureFileBytes) return std::nullopt;
    }
    return DecodePicture(bytes.data(), bytes.size());
}

}  // namespace lumi
