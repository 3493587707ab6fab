// Quote categories: the shape of the tables, the stored choice, stepping and picking.
#include "content/Quotes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>
#include <set>
#include <vector>

#include "common/TestSupport.h"
#include "media/Resources.h"
#include "settings/IniFile.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

using testing::ReadFile;

struct ExpectedCategory {
    int number;
    const char* name;
    int picture;
    int flags;
    size_t quotes;
    std::set<int> quotePictures;
};

const std::vector<ExpectedCategory>& Expected() {
    static const std::vector<ExpectedCategory> table = {
        {0, "Random quote", 192, 2, 1, {192}},
        {1, "Flower", 157, 0, 1, {157}},
        {2, "Typical UFO", 123, 0, 2, {123}},
        {3, "Baby delivery", 122, 0, 3, {122}},
        {4, "Love fool", 128, 0, 32, {128, 164}},
        {5, "Wise guy", 139, 0, 89, {139}},
        {6, "Your quotes", 138, 0, 25, {141, 142}},
        {8, "Keep away", 127, 0, 1, {127}},
        {9, "No smoking", 153, 0, 3, {153}},
        {10, "Your picture -->", 149, 2, 0, {}},
        {11, "New email", 143, 1, 0, {}},
        {12, "Just the sky", 120, 2, 0, {}},
        {13, "Happy birthday", 160, 2, 3, {160}},
        {14, "Scared ghost", 121, 0, 2, {121}},
        {15, "Flying Witch", 118, 0, 3, {118}},
        {16, "Traveling", 155, 0, 4, {155}},
        {17, "World peace", 189, 0, 47, {113, 189, 195}},
    };
    return table;
}

TEST(QuoteTableTest, CategoriesSitAtTheirStoredNumbersWithPlaceSevenEmpty) {
    EXPECT_EQ(CategoryAt(7), nullptr);
    EXPECT_EQ(CategoryAt(-1), nullptr);
    EXPECT_EQ(CategoryAt(kCategoryPlaces), nullptr);
    for (const ExpectedCategory& e : Expected()) {
        const QuoteCategory* c = CategoryAt(e.number);
        ASSERT_NE(c, nullptr) << e.number;
        EXPECT_EQ(c->number, e.number);
        EXPECT_STREQ(c->name, e.name);
        EXPECT_EQ(c->picture, e.picture) << e.name;
        EXPECT_EQ(c->flags, e.flags) << e.name;
    }
}

TEST(QuoteTableTest, EachCategoryHasItsCountOfQuotesWithItsPictures) {
    ASSERT_EQ(QuoteCount(), 216u);
    std::map<int, size_t> counts;
    std::map<int, std::set<int>> pictures;
    for (size_t i = 0; i < QuoteCount(); ++i) {
        const Quote& q = QuoteTable()[i];
        ++counts[q.category];
        pictures[q.category].insert(q.picture);
    }
    for (const ExpectedCategory& e : Expected()) {
        EXPECT_EQ(counts[e.number], e.quotes) << e.name;
        // Every picture the category may fly is used, and no other.
        EXPECT_EQ(pictures[e.number], e.quotePictures) << e.name;
    }
    EXPECT_EQ(counts.count(7), 0u);
}

// Every picture a category or a quote can fly is carried by both builds: embedded in the
// Linux program, listed for the Windows resource compiler, and credited.
TEST(QuoteTableTest, EveryPictureTheTablesNameIsAResourceOfBothBuildsWithItsCredits) {
    std::set<int> numbers;
    for (int n = 0; n < kCategoryPlaces; ++n)
        if (const QuoteCategory* c = CategoryAt(n)) numbers.insert(c->picture);
    for (size_t i = 0; i < QuoteCount(); ++i) numbers.insert(QuoteTable()[i].picture);
    ASSERT_GE(numbers.size(), 20u);

    const std::string root = testing::SourceDir() + "/resources/";
    std::map<int, std::string> script;  // number -> file named by lumivane.rc
    std::istringstream lines(ReadFile(root + "win32/lumivane.rc"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        int number = 0;
        std::string kind, quoted;
        if (words >> number >> kind >> quoted && kind == "BITMAP" && quoted.size() > 5)
            script[number] = quoted.substr(4, quoted.size() - 5);
    }
    const std::string credits = ReadFile(root + "CREDITS");
    for (int number : numbers) {
        EXPECT_TRUE(LoadBitmapResource(number)) << number << " is not embedded";
        ASSERT_TRUE(script.count(number)) << number << " is missing from lumivane.rc";
        EXPECT_NE(credits.find(script[number]), std::string::npos) << script[number] << " has no credits";
    }
}

TEST(QuoteTableTest, QuotesAreGroupedInCategoryOrderSingleLinesOfAtMost137) {
    std::set<std::string> seen;
    for (size_t i = 0; i < QuoteCount(); ++i) {
        const Quote& q = QuoteTable()[i];
        if (i > 0) {
            ASSERT_LE(QuoteTable()[i - 1].category, q.category) << "quote " << i << " breaks the grouping";
        }
        ASSERT_NE(q.text, nullptr);
        const size_t length = std::strlen(q.text);
        EXPECT_LE(length, kMaxQuoteLength) << q.text;
        EXPECT_EQ(std::strpbrk(q.text, "\r\n\t"), nullptr) << q.text;
        EXPECT_EQ(length == 0, q.category == 0) << "only the random category's quote is empty: " << q.text;
        EXPECT_TRUE(seen.insert(q.text).second) << "duplicate quote: " << q.text;
    }
}

class QuoteSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLogAt(folder.File("log.txt"));
        OpenIni();
        SeedRandom(4242);
    }
    void TearDown() override {
        ResetMainIni();
        ResetRandomSeed();
    }
    void OpenIni(std::string_view user = {}) {
        ResetMainIni(nullptr, user);
        ASSERT_EQ(MainIni().Init("", folder.File("Lumivan.ini")), 0);
    }
    QuoteSelection ReadWithStored(long category) {
        MainIni().WriteIntForUser("FPicture", "Category", category);
        QuoteSelection s;
        s.ReadSelectedCategory();
        return s;
    }
    std::string Log() { return ReadFile(folder.File("log.txt")); }

    testing::TempFolder folder;
    testing::RecordingMessageBoxes boxes;
};

TEST_F(QuoteSelectionTest, NewSettingsFileShowsJustTheSkyAndLogsTheTables) {
    QuoteSelection s;
    s.ReadSelectedCategory();
    EXPECT_EQ(s.categoryNumber, 12);
    EXPECT_STREQ(s.categoryName, "Just the sky");
    EXPECT_EQ(s.picture, kPictureJustTheSky);
    EXPECT_EQ(s.RandomPick(), 0) << "the plain sky has nothing to say";

    const std::string log = Log();
    EXPECT_NE(log.find("DefaultCategory12"), std::string::npos);
    EXPECT_NE(log.find("currentCategoryID12"), std::string::npos);
    EXPECT_NE(log.find("CurrentCategory(string): Just the sky"), std::string::npos);
    EXPECT_NE(log.find("def_nCategories18"), std::string::npos);
    EXPECT_NE(log.find("def_nQuotes216"), std::string::npos);
    EXPECT_NE(log.find("No Quotes for category12"), std::string::npos);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(QuoteSelectionTest, StoredNumbersOutsideTheTableAreClamped) {
    EXPECT_EQ(ReadWithStored(25).categoryNumber, 17);
    EXPECT_STREQ(ReadWithStored(25).categoryName, "World peace");
    EXPECT_EQ(ReadWithStored(-3).categoryNumber, 0);
    EXPECT_EQ(ReadWithStored(-3).picture, kPictureRandomQuote);
    // The empty place falls back to the default rather than a nameless category.
    EXPECT_EQ(ReadWithStored(7).categoryNumber, 12);
    EXPECT_EQ(ReadWithStored(9).categoryNumber, 9);
}

TEST_F(QuoteSelectionTest, SavedCategoryIsReadBackFromTheUsersOwnSection) {
    MainIni().WriteUInt("params", "MultiUser", 1);
    OpenIni("guest");
    QuoteSelection s = ReadWithStored(12);
    s.NextCategory();
    s.SaveCategory();
    EXPECT_EQ(MainIni().ReadString("FPicture-guest", "Category", ""), "13");
    EXPECT_EQ(MainIni().ReadString("FPicture", "Category", "none"), "none");

    QuoteSelection again;
    again.ReadSelectedCategory();
    EXPECT_EQ(again.categoryNumber, 13);
    EXPECT_STREQ(again.categoryName, "Happy birthday");
}

TEST_F(QuoteSelectionTest, SteppingSkipsTheEmptyPlaceAndNewEmailAndWraps) {
    QuoteSelection s = ReadWithStored(10);
    s.NextCategory();
    EXPECT_EQ(s.categoryNumber, 12);
    EXPECT_STREQ(s.categoryName, "Just the sky");
    s.PreviousCategory();
    EXPECT_EQ(s.categoryNumber, 10);

    s = ReadWithStored(0);
    s.PreviousCategory();
    EXPECT_EQ(s.categoryNumber, 17);
    EXPECT_EQ(s.picture, 189);
    s.NextCategory();
    EXPECT_EQ(s.categoryNumber, 0);

    s = ReadWithStored(6);
    s.NextCategory();
    EXPECT_EQ(s.categoryNumber, 8);
    s.PreviousCategory();
    EXPECT_EQ(s.categoryNumber, 6);

    // A full turn in either direction visits each selectable category once.
    for (int delta : {1, -1}) {
        std::vector<int> visited;
        s = ReadWithStored(0);
        for (int i = 0; i < 16; ++i) {
            if (delta > 0) s.NextCategory();
            else s.PreviousCategory();
            visited.push_back(s.categoryNumber);
        }
        EXPECT_EQ(std::set<int>(visited.begin(), visited.end()).size(), 16u);
        EXPECT_EQ(visited.back(), 0);
        EXPECT_EQ(std::count(visited.begin(), visited.end(), 7), 0);
        EXPECT_EQ(std::count(visited.begin(), visited.end(), 11), 0);
    }
}

TEST_F(QuoteSelectionTest, PickStaysInsideTheSelectedCategoryAndReachesAllOfIt) {
    QuoteSelection s = ReadWithStored(17);
    std::set<int> pictures;
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(s.RandomPick(), 1);
        pictures.insert(s.quotePicture);
    }
    EXPECT_EQ(pictures, (std::set<int>{113, 189, 195}));
    EXPECT_NE(Log().find("entering RandomPick with CurrentCategory17"), std::string::npos);

    s = ReadWithStored(5);
    std::set<std::string> picked;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(s.RandomPick(), 1);
        ASSERT_EQ(s.quotePicture, 139);
        picked.insert(s.quoteText);
    }
    EXPECT_EQ(picked.size(), 89u);
    EXPECT_EQ(s.categoryNumber, 5) << "picking does not move the selection";
}

TEST_F(QuoteSelectionTest, CategoriesWithoutQuotesLeaveThePreviousTextAlone) {
    QuoteSelection s = ReadWithStored(15);
    ASSERT_EQ(s.RandomPick(), 1);
    const char* previous = s.quoteText;
    for (int empty : {10, 11, 12}) {
        s.categoryNumber = empty;
        EXPECT_EQ(s.RandomPick(), 0) << empty;
        EXPECT_EQ(s.quoteText, previous);
    }
}

TEST_F(QuoteSelectionTest, AnyCategoryPickSkipsTheCategoriesThatOptOut) {
    QuoteSelection s = ReadWithStored(0);
    std::set<int> categories;
    for (int i = 0; i < 5000; ++i) {
        s.RandomQuoteAnyCategory();
        ASSERT_NE(s.quoteText[0], '\0');
        ASSERT_NE(CategoryAt(s.categoryNumber), nullptr);
        ASSERT_EQ(CategoryAt(s.categoryNumber)->flags & kCategoryNotInAnyPick, 0) << s.categoryNumber;
        ASSERT_STREQ(s.categoryName, CategoryAt(s.categoryNumber)->name);
        ASSERT_EQ(s.picture, CategoryAt(s.categoryNumber)->picture);
        categories.insert(s.categoryNumber);
    }
    EXPECT_EQ(categories, (std::set<int>{1, 2, 3, 4, 5, 6, 8, 9, 14, 15, 16, 17}));

    // The flying picture picks again inside the category it landed on.
    ASSERT_EQ(s.RandomPick(), 1);
    EXPECT_NE(s.quoteText[0], '\0');
}

}  // namespace
}  // namespace lumi
