// The pixel store: creation limits, colour order at the interface and in memory, reading
// and writing whole pictures.
#include "gfx/Surface.h"

#include <gtest/gtest.h>

namespace lumi::gfx {
namespace {

TEST(Surface, StartsBlackAndStoresColoursNativelyAsRedGreenBlue) {
    auto s = Surface::Create(3, 2);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->ReadPixels(), std::vector<Color>(6, 0u));
    s->SetPixel(2, 1, Rgb(0x11, 0x22, 0x33));
    EXPECT_EQ(s->GetPixel(2, 1), 0x00332211u);
    // A shell presents rows as they are, so the native order must be 0x00RRGGBB.
    EXPECT_EQ(s->Row(1)[2], 0x00112233u);
    EXPECT_EQ(s->Data()[1 * s->Stride() + 2], 0x00112233u);
}

TEST(Surface, EmptyOrHugeSizesNeverCrash) {
    auto empty = Surface::Create(-5, 4);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Width(), 0);
    EXPECT_EQ(empty->GetPixel(0, 0), kInvalidColor);
    EXPECT_EQ(empty->SetPixel(0, 0, 1), kInvalidColor);
    EXPECT_TRUE(empty->ReadPixels().empty());
    EXPECT_EQ(Surface::Create(Surface::kMaxDimension + 1, 1), nullptr);
    EXPECT_EQ(Surface::Create(1, 1 << 30), nullptr);
}

TEST(Surface, WholePicturesRoundTripInInterfaceOrder) {
    std::vector<Color> picture{Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), 0xFF123456};
    auto s = Surface::FromPixels(2, 2, picture);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->GetPixel(1, 1), 0x00123456u);  // the top byte is never stored
    picture[3] = 0x00123456;
    EXPECT_EQ(s->ReadPixels(), picture);
    EXPECT_FALSE(s->WritePixels(std::vector<Color>(3, 0)));
    EXPECT_EQ(Surface::FromPixels(2, 2, std::vector<Color>(5, 0)), nullptr);
}

TEST(Surface, OnlyWindowSurfacesTrackChanges) {
    auto memory = Surface::Create(10, 10);
    memory->SetPixel(1, 1, 5);
    EXPECT_FALSE(memory->TracksDirty());
    auto window = Surface::Create(10, 10, DirtyTracking::On);
    window->SetPixel(1, 1, 5);
    ASSERT_TRUE(window->TracksDirty());
    EXPECT_EQ(window->Dirty()->Collect(), (std::vector<Rect>{{1, 1, 2, 2}}));
}

TEST(Surface, WrappedMemoryIsDrawnInPlaceAndHandedBackOnce) {
    std::vector<uint32_t> memory(4 * 3, 0xDEADBEEFu);
    int released = 0;
    uint32_t* handedBack = nullptr;
    {
        auto s = Surface::Wrap(4, 3, memory.data(), [&](uint32_t* p) { ++released, handedBack = p; },
                               DirtyTracking::On);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(memory[11], 0u);  // starts black
        s->SetPixel(3, 2, 0x0000FF);  // red
        EXPECT_EQ(memory[11], 0x00FF0000u);
        EXPECT_EQ(s->Data(), memory.data());
        EXPECT_EQ(s->Dirty()->Collect(), (std::vector<Rect>{{3, 2, 4, 3}}));
        auto shared = s;
        s.reset();
        EXPECT_EQ(released, 0);
    }
    EXPECT_EQ(released, 1);
    EXPECT_EQ(handedBack, memory.data());
    // Refused wraps hand the memory back at once; a null pointer is no memory at all.
    released = 0;
    EXPECT_EQ(Surface::Wrap(Surface::kMaxDimension + 1, 1, memory.data(), [&](uint32_t*) { ++released; }), nullptr);
    EXPECT_EQ(released, 1);
    EXPECT_EQ(Surface::Wrap(4, 3, nullptr, [&](uint32_t*) { ++released; }), nullptr);
    EXPECT_EQ(released, 1);
    // Memory its provider has zeroed is taken as it is.
    auto zeroed = Surface::Wrap(4, 3, memory.data(), [](uint32_t*) {}, DirtyTracking::Off, Surface::Memory::Zeroed);
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(memory[11], 0x00FF0000u);
}

}  // namespace
}  // namespace lumi::gfx
