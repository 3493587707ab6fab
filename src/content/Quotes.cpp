// Stepping through the quote categories and picking quotes; the tables themselves live
// in QuoteTable.cpp.
#include "content/Quotes.h"

#include "settings/IniFile.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

namespace {

constexpr const char* kSection = "FPicture";
constexpr const char* kKey = "Category";

bool Selectable(int number) {
    const QuoteCategory* category = CategoryAt(number);
    return category != nullptr && (category->flags & kCategoryNotSelectable) == 0;
}

// -1 when no category shows just the sky.
int DefaultCategory() {
    for (int number = 0; number < kCategoryPlaces; ++number) {
        const QuoteCategory* category = CategoryAt(number);
        if (category != nullptr && category->picture == kPictureJustTheSky) return number;
    }
    return -1;
}

bool EligibleForAnyPick(const Quote& quote) {
    const QuoteCategory* category = CategoryAt(quote.category);
    return category != nullptr && (category->flags & kCategoryNotInAnyPick) == 0 && quote.text[0] != '\0';
}

}  // namespace

void QuoteSelection::TakeCategory(int number) {
    categoryNumber = number;
    const QuoteCategory* category = CategoryAt(number);
    if (category == nullptr) {
        AppLog().Info.Log("CategoryItems", "not found");
        categoryName = "";
        picture = kPictureJustTheSky;
        return;
    }
    categoryName = category->name;
    picture = category->picture;
}

void QuoteSelection::ReadSelectedCategory() {
    const int def = DefaultCategory();
    if (def < 0) AppLog().Info.Log("ReadSelectedCategory", "justsky not found");

    long number = MainIni().ReadIntForUser(kSection, kKey, def);
    if (number < 0) number = 0;
    if (number > kCategoryPlaces - 1) number = kCategoryPlaces - 1;
    // The empty place can only come from a hand-edited file; show the plain sky rather
    // than a nameless category.
    if (CategoryAt(static_cast<int>(number)) == nullptr && def >= 0) number = def;
    TakeCategory(static_cast<int>(number));

    AppLog().Info.Log("DefaultCategory", def);
    AppLog().Info.Log("currentCategoryID", categoryNumber);
    AppLog().Info.Log("CurrentCategory(string)", categoryName);
    AppLog().Info.Log("def_nCategories", kCategoryPlaces);
    AppLog().Info.Log("def_nQuotes", QuoteCount());
}

void QuoteSelection::SaveCategory() const {
    if (categoryNumber < 0) return;
    MainIni().WriteUIntForUser(kSection, kKey, static_cast<unsigned long>(categoryNumber));
}

void QuoteSelection::Step(int delta) {
    int number = categoryNumber;
    if (number < 0 || number >= kCategoryPlaces) number = 0;
    // At most one full turn: the table always has selectable places, but a bound keeps
    // a bad table from hanging the settings page.
    for (int i = 0; i < kCategoryPlaces; ++i) {
        number = (number + delta + kCategoryPlaces) % kCategoryPlaces;
        if (Selectable(number)) break;
    }
    TakeCategory(number);
}

void QuoteSelection::NextCategory() { Step(1); }

void QuoteSelection::PreviousCategory() { Step(-1); }

void QuoteSelection::RandomQuoteAnyCategory() {
    const Quote* table = QuoteTable();
    const int count = static_cast<int>(QuoteCount());
    int index = -1;
    // Random draws find an eligible quote almost at once; the scan after the bound only
    // guards against a table in which eligible quotes are vanishingly rare.
    for (int attempt = 0; attempt < 10000 && index < 0; ++attempt) {
        const int r = RandomRange(0, count);
        if (r >= 0 && r < count && EligibleForAnyPick(table[r])) index = r;
    }
    for (int r = 0; r < count && index < 0; ++r) {
        if (EligibleForAnyPick(table[r])) index = r;
    }
    if (index < 0) return;

    const Quote& quote = table[index];
    TakeCategory(quote.category);
    quoteText = quote.text;
    quotePicture = quote.picture;
}

int QuoteSelection::RandomPick() {
    AppLog().Info.Log("entering RandomPick with CurrentCategory", categoryNumber);
    const Quote* table = QuoteTable();
    const int count = static_cast<int>(QuoteCount());

    int first = 0;
    while (first < count && table[first].category != categoryNumber) ++first;
    if (first == count) {
        AppLog().Info.Log("No Quotes for category", categoryNumber);
        return 0;
    }
    int run = 0;
    while (first + run < count && table[first + run].category == categoryNumber) ++run;

    int d = RandomRange(0, run);
    if (d < 0 || d >= run) {
        AppLog().Info.Log("Random", "silly error");
        d = 0;
    }
    quoteText = table[first + d].text;
    quotePicture = table[first + d].picture;
    return 1;
}

}  // namespace lumi
