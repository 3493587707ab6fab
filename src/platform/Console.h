// Printing from a program that the system starts without a console (the Windows .scr).
#pragma once

namespace lumi::platform {

// Sends standard output and error to the console of the program that started us, when
// there is one. Nothing to do where every program has its terminal.
void UseParentConsole();

}  // namespace lumi::platform
