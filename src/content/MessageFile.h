// Sending a star message to a friend as a small file, and receiving one named on the
// command line into the user's own message list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageBox.h"

namespace lumi {

class MessageStore;

// A real message file is a few hundred bytes; anything far larger is not one of ours.
constexpr uintmax_t kMaxMessageFileBytes = 64 * 1024;

// The user's own folder for message-file work (platform::PrivateWorkFolder), ending with
// a separator; "" when there is none.
std::string MessageWorkFolder();

// Writes the store's current slot into "NewMessage.Lumivan" and the text for the e-mail
// into "Receive Instructions.txt" in the work folder, shows the folder and tells the user
// what to do. False (after a box saying so) when the files could not be written.
bool SendMessageFile(const MessageStore& store, WindowHandle owner);

// Imports the message file named as the third argument (after the program and the mode
// switch) into the first free slot and marks it to be shown first. 1 when a message was
// received, else 0. An existing message is never overwritten: with no free slot the
// user is told and nothing changes.
int ReceiveMessageFile(MessageStore& store, const std::vector<std::string>& args, WindowHandle owner = nullptr);
// The same with the process's command line as the platform gives it; hosts that hold
// argv pass it to the overload above.
int ReceiveMessageFile(MessageStore& store);

// The path with its last component in long form; empty when the file does not exist.
std::string ConvertShortToLongFileName(const std::string& path);

// Splits a command line as Windows programs do: blanks and tabs separate, double quotes
// group, backslashes before a quote are halved and an odd one makes the quote literal.
// The program name (first argument) takes quotes but no backslash rules.
std::vector<std::string> SplitCommandLine(std::string_view line);

}  // namespace lumi
