// The "Quotes" page (121): which picture flies across the sky, how often, and whether its
// banner shows a quote of the program's or the user's own text.
#pragma once

#include <optional>

#include "content/Quotes.h"
#include "dialogs/Controls.h"
#include "gfx/Image.h"

namespace lumi::dialogs {

class QuotesPage : public DialogLogic {
public:
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;
    void Apply(Controls& controls) override;

private:
    void ShowCategory(Controls& controls);
    void ShowAutoText(Controls& controls);
    // Picks a quote of the shown category: with none, the program cannot compose the
    // banner, so the box is switched off for it (the stored choice stays as it is).
    void PickQuote();

    QuoteSelection selection_;
    std::optional<gfx::Image> picture_;
    bool autoText_ = true;  // the user's choice, FPicture/AutoText
    bool noQuotes_ = false;  // the shown category has no quote to compose with
    // Apply acts only on a page that was filled: empty boxes are no choice.
    bool opened_ = false;
};

}  // namespace lumi::dialogs
