// The desktop-service registry.
#include "platform/Desktop.h"

#include <atomic>

namespace lumi {

namespace {
std::atomic<DesktopService*> installedDesktop{nullptr};
}

DesktopService& Desktop() {
    DesktopService* d = installedDesktop.load(std::memory_order_acquire);
    return d ? *d : PlatformDesktop();
}

void SetDesktop(DesktopService* service) { installedDesktop.store(service, std::memory_order_release); }

}  // namespace lumi
