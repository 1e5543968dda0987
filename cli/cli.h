#pragma once
// The program's commands without a window: `springlab run`. Plain C++: it
// needs no display and starts no window system.

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// Exit statuses.
constexpr int kOk = 0;
constexpr int kUsage = 2;   // a bad option, key or value: one line on stderr
constexpr int kFailed = 3;  // a run-time error, or the CSV could not be written

// True when the arguments (without the program's name) name a command of
// this module, so the program should not open a window.
bool isCommand(const std::vector<std::string>& args);

// Runs the command; data go to `out`, messages to `err`.
int main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
