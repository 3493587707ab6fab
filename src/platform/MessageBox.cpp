// The message-box registry.
#include "platform/MessageBox.h"

#include <atomic>

namespace lumi {

namespace {
std::atomic<MessageBoxService*> installedBoxes{nullptr};
}

MessageBoxService& MessageBoxes() {
    MessageBoxService* s = installedBoxes.load(std::memory_order_acquire);
    return s ? *s : PlatformMessageBoxes();
}

void SetMessageBoxes(MessageBoxService* service) { installedBoxes.store(service, std::memory_order_release); }

}  // namespace lumi
