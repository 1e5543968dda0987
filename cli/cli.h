#pragma once
// The program's commands without a window: `springlab run` and `springlab
// replay`. Plain C++: it needs no display and starts no window system.

#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Exit statuses.
constexpr int kOk = 0;
constexpr int kUsage = 2;   // a bad option, key or value: one line on stderr
constexpr int kFailed = 3;  // a run-time error, or the CSV, the recording or stdout could not be written

// What a command takes from the process it runs in.
struct Environment {
    std::string_view language = "en";  // of the messages: "en" or "ja"
    bool progress = false;              // stderr is a terminal: long runs show how far they are
    std::function<std::chrono::steady_clock::time_point()> now = [] { return std::chrono::steady_clock::now(); };
};

// The language of the messages under these locale variables (LC_ALL,
// LC_MESSAGES, LANG; null when unset): Japanese for ja*, else English.
std::string_view languageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

// The environment of this process, with signal handlers that leave no
// temporary file and no progress line behind on Ctrl+C, SIGTERM or SIGHUP.
Environment setUpProcess();

// True when the arguments (without the program's name) name a command of
// this module (`run ...`, `replay ...`, or either after --lang LANGUAGE),
// so the program should not open a window.
bool isCommand(const std::vector<std::string>& args);

// Runs the command; data go to `out`, messages to `err`.
int main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env = {});

}  // namespace cli
