// What the dialog and page tests share: a settings file of their own in a temporary folder,
// opened as on any run after the first, and a desktop that only remembers what it was asked.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/TestSupport.h"
#include "content/MessageStore.h"
#include "platform/Desktop.h"
#include "settings/IniFile.h"

namespace lumi::testing {

class RecordingDesktop : public DesktopService {
public:
    RecordingDesktop() { SetDesktop(this); }
    ~RecordingDesktop() override { SetDesktop(nullptr); }
    RecordingDesktop(const RecordingDesktop&) = delete;
    RecordingDesktop& operator=(const RecordingDesktop&) = delete;
    bool OpenUrl(const std::string& url) override {
        urls.push_back(url);
        return true;
    }
    bool OpenFolder(const std::string& folder) override {
        folders.push_back(folder);
        return true;
    }
    std::vector<std::string> urls;
    std::vector<std::string> folders;
};

// The settings live in folder_, never in the user's own file. The first run's defaults are
// written and the file opened again, so slot 1 reads as stored (no first-run greeting).
class DialogSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(StartLogAndSettingsIn(folder_), 0);
        ResetMessageStore();
        TheMessageStore().WriteDefaults();
        ASSERT_EQ(StartLogAndSettingsIn(folder_), 0);
        ResetMessageStore();
    }
    void TearDown() override {
        ResetMessageStore();
        ResetMainIni();
    }
    std::string LogText() const { return ReadFile(folder_.File("log.txt")); }

    TempFolder folder_;
    RecordingMessageBoxes boxes_;
    RecordingDesktop desktop_;
};

}  // namespace lumi::testing
