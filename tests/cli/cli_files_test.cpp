// The command line's files, output and messages: the files it is told to
// write and no other, output that could not be written reported as a
// failure, messages that say what is wrong in the user's language and
// never pass a terminal's control characters through.

#include "cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result command(const std::vector<std::string>& args, const cli::Environment& env = {})
{
    std::ostringstream out, err;
    const int status = cli::main(args, out, err, env);
    return {status, out.str(), err.str()};
}

std::string listing()
{
    std::string names;
    for (const auto& e : fs::directory_iterator("."))
        names += e.path().filename().string() + " ";
    return names;
}

struct MessageCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;                    // the whole of stderr
    std::string bad;                    // the text of bad.jsonl
    std::string_view language = "en";   // of the environment
};

class Message : public ::testing::TestWithParam<MessageCase> {
protected:
    // In a folder of its own with a recording r.jsonl and a link to it.
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("springlab_cli_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        old = fs::current_path();
        fs::current_path(dir);
        ASSERT_EQ(command({"run", "vibration", "--ticks", "5", "--record", "r.jsonl"}).status, 0);
        fs::create_symlink("r.jsonl", "link.jsonl");
        std::ofstream("bad.jsonl", std::ios::binary) << GetParam().bad;
    }
    void TearDown() override
    {
        fs::current_path(old);
        fs::remove_all(dir);
    }
    fs::path dir, old;
};

// A refused command writes nothing and makes no file.
TEST_P(Message, SaysWhatIsWrong)
{
    const MessageCase& c = GetParam();
    const std::string before = listing();
    cli::Environment env;
    env.language = c.language;
    const Result r = command(c.args, env);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    if (c.status == cli::kUsage) {
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(listing(), before);
    }
}

const std::string kHead = "{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":\"vibration\"}\n";
const std::string kStart = kHead + "{\"tick\":0,\"change\":{}}\n";
const std::string kBadKey = "springlab replay: bad.jsonl: line 2: \"";

INSTANTIATE_TEST_SUITE_P(
    Table, Message,
    ::testing::Values(
        MessageCase{"CsvAndRecordTheSame", {"run", "vibration", "--csv", "f", "--record", "f"}, 2,
                    "springlab run: --csv and --record name the same file 'f'\n", ""},
        MessageCase{"SameFileSpelledTwoWays", {"run", "vibration", "--csv", "./no/../f", "--record", "f"}, 2,
                    "springlab run: --csv and --record name the same file 'f'\n", ""},
        MessageCase{"SameFileThroughALink", {"run", "vibration", "--csv", "link.jsonl", "--record", "r.jsonl"}, 2,
                    "springlab run: --csv and --record name the same file 'r.jsonl'\n", ""},
        MessageCase{"ReplayOverItsRecording", {"replay", "link.jsonl", "--csv=r.jsonl"}, 2,
                    "springlab replay: RECORDING and --csv name the same file 'r.jsonl'\n", ""},
        MessageCase{"AnOptionIsNoFileName", {"run", "vibration", "--csv", "--record", "x"}, 2,
                    "springlab run: --csv needs a value\n", ""},
        MessageCase{"ReplayCsvWithoutName", {"replay", "r.jsonl", "--csv", "--columns", "x"}, 2,
                    "springlab replay: --csv needs a value\n", ""},
        MessageCase{"OptionBeforeTheVerb", {"--zoom", "2", "run", "vibration"}, 2,
                    "springlab run: '--zoom' does not go before run: only --lang does\n", ""},
        MessageCase{"UnknownLanguage", {"--lang", "fr", "run", "vibration"}, 2,
                    "springlab run: no language 'fr' (en, ja)\n", ""},
        // What a recording cannot hold is refused before the run.
        MessageCase{"TooManyTicksToRecord", {"run", "vibration", "--ticks", "20000000", "--record", "x"}, 2,
                    "springlab run: --ticks 20000000 is more than the 10000000 ticks --record can hold\n", ""},
        MessageCase{"TextTooLongToRecord", {"run", "vibration", "--set", "mass=" + std::string(100000, '5'), "--record", "x"},
                    2, "springlab run: the --set texts are too long for --record: 100095 bytes where a line holds 65536\n",
                    ""},
        MessageCase{"EmptyRecording", {"replay", "bad.jsonl"}, 2,
                    "springlab replay: bad.jsonl: an empty file, not a recording\n", ""},
        MessageCase{"EscapeInAKey", {"replay", "bad.jsonl"}, 2,
                    kBadKey + "\\x1B[2J\\x07\\n\" is not a text box of vibration\n",
                    kHead + "{\"tick\":0,\"change\":{\"\\u001b[2J\\u0007\\n\":\"1\"}}\n"},
        MessageCase{"C1Control", {"replay", "bad.jsonl"}, 2, kBadKey + "\\u009B31m\" is not a text box of vibration\n",
                    kHead + "{\"tick\":0,\"change\":{\"\\u009b31m\":\"1\"}}\n"},
        MessageCase{"RowLimitNamesTheOption", {"replay", "bad.jsonl", "--csv", "-"}, 2,
                    "springlab replay: the recording runs 2000000 ticks, more than the 1000000 rows --csv can hold\n",
                    kStart + "{\"tick\":2000000,\"end\":true}\n"},
        MessageCase{"ReplayCsvInOneArgument", {"replay", "bad.jsonl", "--csv=out.csv"}, 0, "",
                    kStart + "{\"tick\":2,\"end\":true}\n"},
        MessageCase{"RunTimeErrorInJapanese", {"run", "vibration", "--set", "mass=0"}, 3,
                    "springlab run: 実行時エラー 11 (ティック 1): 0 で除算しました。\n", "", "ja"},
        MessageCase{"UsageInJapanese", {"run", "vibration", "--ticks", "x"}, 2,
                    "springlab run: --ticks には 0 以上の整数のティック数を指定してください ('x' ではなく)\n", "", "ja"},
        MessageCase{"LangBeforeTheVerb", {"--lang", "en", "run", "vibration", "--set", "mass=0"}, 3,
                    "springlab run: run-time error 11 at tick 1: Division by zero.\n", "", "ja"},
        MessageCase{"LangWithEquals", {"--lang=ja", "run", "vibration", "--set", "mass=0"}, 3,
                    "springlab run: 実行時エラー 11 (ティック 1): 0 で除算しました。\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A stream that takes nothing, as stdout on a full disk or a closed pipe.
class Refusing : public std::streambuf {
    int overflow(int) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

class OutputLost : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(OutputLost, IsAFailure)
{
    Refusing nowhere;
    std::ostream out(&nowhere);
    std::ostringstream err;
    EXPECT_EQ(cli::main(GetParam(), out, err), cli::kFailed);
    EXPECT_TRUE(err.str().ends_with(": the output could not be written\n")) << err.str();
}

INSTANTIATE_TEST_SUITE_P(Table, OutputLost,
                         ::testing::Values(std::vector<std::string>{"run", "vibration", "--ticks", "100000", "--csv", "-"},
                                           std::vector<std::string>{"run", "vibration", "--ticks", "3"},
                                           std::vector<std::string>{"run", "--help"},
                                           std::vector<std::string>{"replay", "--help"}));

// The messages' language follows the locale, as gettext reads it.
struct LocaleCase {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    std::string_view language;
};

class Locale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(Locale, ChoosesTheMessagesLanguage)
{
    const LocaleCase& c = GetParam();
    EXPECT_EQ(cli::languageOfLocale(c.lcAll, c.lcMessages, c.lang), c.language);
}

INSTANTIATE_TEST_SUITE_P(Table, Locale,
                         ::testing::Values(LocaleCase{nullptr, nullptr, nullptr, "en"},
                                           LocaleCase{nullptr, nullptr, "ja_JP.UTF-8", "ja"},
                                           LocaleCase{nullptr, "C", "ja_JP.UTF-8", "en"},
                                           LocaleCase{"ja_JP.UTF-8", "C", "C", "ja"},
                                           LocaleCase{"", "", "ja_JP.UTF-8", "ja"}));

// On a terminal a run longer than a second says how far it is, on one
// line rewritten in place and cleared at the end; a short one says
// nothing. The data are the same either way.
class Progress : public ::testing::TestWithParam<std::chrono::microseconds> {};

TEST_P(Progress, ShownOnlyForLongRuns)
{
    cli::Environment env;
    env.progress = true;
    auto now = std::chrono::steady_clock::time_point{};
    env.now = [&now] { return now += GetParam(); };
    const Result r = command({"run", "vibration", "--ticks", "2000"}, env);
    EXPECT_EQ(r.out, command({"run", "vibration", "--ticks", "2000"}).out);
    const bool long_ = GetParam() >= std::chrono::milliseconds(1);
    EXPECT_EQ(r.err.starts_with("\r\x1b[Ktick ") && r.err.find(" of 2000, ") != std::string::npos, long_) << r.err;
    EXPECT_EQ(r.err.ends_with("\r\x1b[K"), long_) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Table, Progress,
                         ::testing::Values(std::chrono::microseconds(1), std::chrono::microseconds(100000)));

}  // namespace
