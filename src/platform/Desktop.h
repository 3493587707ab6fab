// Handing things to the user's desktop: a link to the mail client or browser, a folder
// to the file manager, and the long name of a file the desktop gave us.
#pragma once

#include <string>

namespace lumi {

class DesktopService {
public:
    virtual ~DesktopService() = default;
    // Opens a URL ("mailto:..." or a web address) with the user's preferred program.
    // False when nothing could be started.
    virtual bool OpenUrl(const std::string& url) = 0;
    // Shows a folder in the file manager. False when nothing could be started.
    virtual bool OpenFolder(const std::string& folder) = 0;
};

// The service every request goes through. Defaults to the platform's.
DesktopService& Desktop();
// Installs another service (tests); nullptr restores the platform's. Caller owns it.
void SetDesktop(DesktopService* service);
DesktopService& PlatformDesktop();

// The path with its last component replaced by the file's long name (Windows may hand
// us an 8.3 short name); empty when the file does not exist.
std::string LongFileName(const std::string& path);

}  // namespace lumi
