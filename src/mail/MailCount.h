// The number of messages the mail server held at the last successful check. The mail
// checker's worker thread writes it; the message projection on the saver's thread reads it.
#pragma once

#include <atomic>

namespace lumi {

// 0 means no mail notice.
extern std::atomic<int> MailCount;

}  // namespace lumi
