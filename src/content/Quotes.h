// Quote categories: what flies across the sky with which banner text, and the user's
// chosen category, stepped through on the "Quotes" page and picked from by the flying picture.
#pragma once

#include <cstddef>

namespace lumi {

// Bit 0: stepping skips it. Bit 1: its quotes are left out of the pick over all categories.
enum CategoryFlag : int {
    kCategoryNotSelectable = 1,
    kCategoryNotInAnyPick = 2,
};

// Pictures with a meaning beyond the bitmap they name.
constexpr int kPictureRandomQuote = 192;
constexpr int kPictureJustTheSky = 120;
constexpr int kPictureUserBitmap = 149;

// Category numbers are stored in the settings file, so a category keeps its place
// for good; place 7 stays empty.
constexpr int kCategoryPlaces = 18;
constexpr size_t kMaxQuoteLength = 137;

struct QuoteCategory {
    int number;
    int picture;
    const char* name;
    int flags;
};

struct Quote {
    int category;
    int picture;     // may differ from the category's picture
    const char* text;
};

// The category at a place, or nullptr for the empty place and numbers outside 0..17.
const QuoteCategory* CategoryAt(int number);
// Every quote, grouped by category in the order of the category numbers.
const Quote* QuoteTable();
size_t QuoteCount();

// One user's view of the categories: the flying picture and the "Quotes" page each
// keep their own.
class QuoteSelection {
public:
    // Loads FPicture/Category (per-user), clamped to 0..17.
    void ReadSelectedCategory();
    // Writes the category number back to FPicture/Category (per-user).
    void SaveCategory() const;
    void NextCategory();
    void PreviousCategory();
    // Picks among the quotes of every category that allows it and moves the selection
    // to the picked quote's category.
    void RandomQuoteAnyCategory();
    // 1 when a quote of the selected category was picked, 0 when it has none.
    int RandomPick();

    int picture = 0;
    int categoryNumber = 0;
    const char* categoryName = "";
    const char* quoteText = "";
    int quotePicture = 0;

private:
    void TakeCategory(int number);
    void Step(int delta);
};

}  // namespace lumi
