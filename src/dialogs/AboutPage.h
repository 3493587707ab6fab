// The "About" page (2014): version, build, pictures, and the ways to the maker: the web page
// with a newer version and the contact address, each shown only when the build names one.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "dialogs/Controls.h"
#include "gfx/Image.h"

namespace lumi::dialogs {

// The addresses this build was configured with (CMake LUMI_WEB_ADDRESS and
// LUMI_CONTACT_ADDRESS); empty when none was given.
const char* ConfiguredWebAddress();
const char* ConfiguredContactAddress();

class AboutPage : public DialogLogic {
public:
    AboutPage(std::string webAddress = ConfiguredWebAddress(), std::string contactAddress = ConfiguredContactAddress());
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;

private:
    std::string webAddress_;
    std::string contactAddress_;
    std::array<std::optional<gfx::Image>, 4> pictures_;
};

}  // namespace lumi::dialogs
