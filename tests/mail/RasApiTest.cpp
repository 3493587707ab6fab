// The dial-up library's load states and the one-connection rule, over a scripted library;
// and Linux's answer from its network interfaces.
#include "mail/RasApi.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TestSupport.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

struct FakeDialUp : platform::DialUpLibrary {
    platform::DialUpLoad load = platform::DialUpLoad::Loaded;
    platform::DialUpEnumeration listing{true, 704, 1};
    bool connected = true;
    bool functions = false;
    int unloads = 0;
    uint32_t askedRecord = 0, askedStatus = 0;
    uint32_t recordSize = 704;

    platform::DialUpLoad Load() override {
        functions = load == platform::DialUpLoad::Loaded;
        return load;
    }
    void Unload() override {
        ++unloads;
        functions = false;
    }
    bool HasFunctions() const override { return functions; }
    uint32_t ConnectionRecordSize() const override { return recordSize; }
    platform::DialUpEnumeration EnumerateOne(uint32_t recordSize) override {
        askedRecord = recordSize;
        return listing;
    }
    bool FirstConnected(uint32_t statusSize) override {
        askedStatus = statusSize;
        return connected;
    }
};

class RasApiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetErrorReports();
        auto owned = std::make_unique<FakeDialUp>();
        fake = owned.get();
        ras = std::make_unique<RasApiDLLClass>(std::move(owned));
        // Stands in for the sky's ShowErrors: takes the pending text as it is shown.
        SetMailErrorShower([this] {
            shown.push_back(PendingErrorText());
            ResetErrorReports();
        });
    }
    void TearDown() override { SetMailErrorShower(nullptr); }
    // Whether a text was shown the moment it was reported.
    bool Reported(const std::string& text) {
        for (const std::string& s : shown)
            if (s.find(text) != std::string::npos) return true;
        return false;
    }

    testing::TempFolder folder;
    FakeDialUp* fake = nullptr;
    std::unique_ptr<RasApiDLLClass> ras;
    std::vector<std::string> shown;
};

TEST_F(RasApiTest, LoadStatesAndTheirReports) {
    EXPECT_EQ(ras->LoadDLL(), 0);
    EXPECT_EQ(ras->LoadDLL(), 1);
    EXPECT_TRUE(Reported("StartDLL-Already loaded "));
    ras->UnloadDLL();
    EXPECT_EQ(fake->unloads, 1);
    ras->UnloadDLL();
    EXPECT_TRUE(Reported("UnloadDLL-Nothing to unload "));
    EXPECT_EQ(fake->unloads, 1);

    fake->load = platform::DialUpLoad::LibraryMissing;
    EXPECT_EQ(ras->LoadDLL(), 2);
    EXPECT_TRUE(Reported("StartDLL-fail1 "));
    EXPECT_EQ(ras->IsModemConnected(), 0);

    // A missing function keeps the library loaded, to be freed by UnloadDLL.
    fake->load = platform::DialUpLoad::FunctionMissing;
    EXPECT_EQ(ras->LoadDLL(), 3);
    EXPECT_TRUE(Reported("LoadDLL-fail2 "));
    EXPECT_EQ(ras->IsModemConnected(), 0);
    ras->UnloadDLL();
    EXPECT_EQ(fake->unloads, 2);
}

TEST_F(RasApiTest, ExactlyOneConnectedLineCounts) {
    ASSERT_EQ(ras->LoadDLL(), 0);
    EXPECT_EQ(ras->IsModemConnected(), 1);
    EXPECT_EQ(fake->askedRecord, 704u);
    EXPECT_EQ(fake->askedStatus, 288u);

    fake->connected = false;  // still dialling, or in error
    EXPECT_EQ(ras->IsModemConnected(), 0);

    fake->connected = true;
    fake->listing = {true, 0, 0};
    EXPECT_EQ(ras->IsModemConnected(), 0);
    EXPECT_EQ(PendingErrorText(), "");
}

TEST_F(RasApiTest, TwoConnectionsAreNotConnectedAndReportTheSize) {
    ASSERT_EQ(ras->LoadDLL(), 0);
    fake->listing = {false, 1408, 2};
    EXPECT_EQ(ras->IsModemConnected(), 0);
    EXPECT_TRUE(Reported("RECP-Size2"));
    EXPECT_FALSE(Reported("RECP-Size1"));

    fake->listing = {true, 700, 1};
    EXPECT_EQ(ras->IsModemConnected(), 1);
    EXPECT_TRUE(Reported("RECP-Size1"));
}

TEST_F(RasApiTest, SixtyFourBitRecordsAreMeasuredInTheirOwnSize) {
    ASSERT_EQ(ras->LoadDLL(), 0);
    fake->recordSize = 708;
    fake->listing = {true, 708, 1};
    EXPECT_EQ(ras->IsModemConnected(), 1);
    EXPECT_EQ(fake->askedRecord, 708u);
    EXPECT_TRUE(shown.empty());
}

TEST(PointToPoint, CountsPppInterfacesThatAreUp) {
    testing::TempFolder net;
    auto iface = [&](const std::string& name, const std::string& state) {
        std::filesystem::create_directories(net.Path() + name);
        testing::WriteFile(net.Path() + name + "/operstate", state);
    };
    EXPECT_EQ(platform::CountPointToPointUp(net.Path()), 0);
    iface("eth0", "up\n");
    iface("ppp0", "down\n");
    EXPECT_EQ(platform::CountPointToPointUp(net.Path()), 0);
    iface("ppp1", "up\n");
    EXPECT_EQ(platform::CountPointToPointUp(net.Path()), 1);
    iface("ppp2", "up\n");
    EXPECT_EQ(platform::CountPointToPointUp(net.Path()), 2);
    // A link whose driver reports no carrier state counts by its flags.
    testing::TempFolder other;
    std::filesystem::create_directories(other.Path() + "ppp0");
    testing::WriteFile(other.Path() + "ppp0/operstate", "unknown\n");
    testing::WriteFile(other.Path() + "ppp0/flags", "0x1090\n");  // not up
    EXPECT_EQ(platform::CountPointToPointUp(other.Path()), 0);
    testing::WriteFile(other.Path() + "ppp0/flags", "0x10d1\n");  // up, running, point-to-point
    EXPECT_EQ(platform::CountPointToPointUp(other.Path()), 1);
    EXPECT_EQ(platform::CountPointToPointUp(net.Path() + "missing/"), 0);
}

}  // namespace
}  // namespace lumi
