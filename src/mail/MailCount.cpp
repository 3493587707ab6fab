// The shared mail count.
#include "mail/MailCount.h"

namespace lumi {

std::atomic<int> MailCount{0};

}  // namespace lumi
