// PNG pictures through the Windows Imaging Component, converted to 32-bit premultiplied
// BGRA so that transparent pixels come out over black (the sky).
#include <windows.h>
#include <wincodec.h>

#include <vector>

#include "platform/PictureFile.h"

namespace lumi {
namespace {

// Releases a COM interface at the end of its scope.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (p_) p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

private:
    T* p_ = nullptr;
};

// COM for this thread for the length of one decode; balanced only when this call began it.
class ComScope {
public:
    ComScope() : began_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (began_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool began_;
};

}  // namespace

std::optional<gfx::Image> DecodePng(const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0 || size > kMaxPictureFileBytes) return std::nullopt;
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Out()))))
        return std::nullopt;
    ComRef<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.Out()))) return std::nullopt;
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size)))) return std::nullopt;
    ComRef<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Out()))) return std::nullopt;
    if (FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand))) return std::nullopt;
    ComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.Out()))) return std::nullopt;
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height))) return std::nullopt;
    if (!gfx::Image::SizeAllowed(width, height) || int64_t{width} * height > kMaxPngPixels) return std::nullopt;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Out()))) return std::nullopt;
    if (FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    const UINT stride = width * 4;
    std::vector<BYTE> bgra(static_cast<size_t>(stride) * height);
    if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(bgra.size()), bgra.data())))
        return std::nullopt;
    std::optional<gfx::Image> out = gfx::Image::Create(static_cast<int>(width), static_cast<int>(height));
    if (!out) return std::nullopt;
    for (int y = 0; y < out->Height(); ++y) {
        const BYTE* in = bgra.data() + static_cast<size_t>(y) * stride;
        uint32_t* row = out->Row(y);
        // Premultiplied over black is the colour as it stands.
        for (int x = 0; x < out->Width(); ++x, in += 4)
            row[x] = uint32_t{in[2]} | (uint32_t{in[1]} << 8) | (uint32_t{in[0]} << 16);
    }
    return out;
}

}  // namespace lumi
