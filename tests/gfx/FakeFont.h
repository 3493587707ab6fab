// A predictable font for layout tests: every printable character advances 6 pixels in an
// 8-pixel cell (ascent 6) and shows as a solid 4 x 5 block at (1, 1) of its cell; a blank
// shows nothing.
#pragma once

#include <memory>

#include "gfx/Font.h"

namespace lumi::gfx::testing {

class FakeFace : public FontFace {
public:
    explicit FakeFace(int* renders = nullptr) : renders_(renders) {}
    FontMetrics Metrics() const override {
        FontMetrics m;
        m.ascent = 6;
        m.descent = 2;
        m.averageWidth = 6;
        m.maxWidth = 6;
        m.fixedPitch = true;
        return m;
    }
    GlyphImage RenderGlyph(char32_t code) override {
        if (renders_) ++*renders_;
        GlyphImage g;
        g.advance = 6;
        if (code == U' ') return g;
        g.width = 4;
        g.height = 5;
        g.left = 1;
        g.top = 1;
        g.mask.assign(20, 1);
        return g;
    }
    std::string FamilyName() const override { return "Fake"; }

private:
    int* renders_;
};

class FakeRasterizer : public FontRasterizer {
public:
    std::unique_ptr<FontFace> Open(const LogFont&) override { return std::make_unique<FakeFace>(); }
};

inline std::shared_ptr<Font> MakeFakeFont(int* renders = nullptr) {
    return Font::FromFace(LogFont{}, std::make_unique<FakeFace>(renders));
}

}  // namespace lumi::gfx::testing
