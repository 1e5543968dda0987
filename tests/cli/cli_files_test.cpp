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

class InFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("springlab_cli_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        old = fs::current_path();
        fs::current_path(dir);
        // A recording to replay, made by the program itself.
        ASSERT_EQ(command({"run", "vibration", "--ticks", "5", "--record", "r.jsonl"}).status, 0);
        fs::create_symlink("r.jsonl", "link.jsonl");
    }
    void TearDown() override
    {
        fs::current_path(old);
        fs::remove_all(dir);
    }
    fs::path dir, old;
};

struct RefusedCase {
    const char* name;
    std::vector<std::string> args;
    std::string err;  // the whole of stderr
};

class Refused : public InFolder, public ::testing::WithParamInterface<RefusedCase> {};

// Refused before anything is run or written: the recording is as it was,
// and no file is made.
TEST_P(Refused, BeforeAnythingIsWritten)
{
    const std::string recording = [] {
        std::ifstream in("r.jsonl");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    const Result r = command(GetParam().args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, GetParam().err);
    EXPECT_EQ(r.out, "");
    std::ifstream in("r.jsonl");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), recording);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator("."))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"link.jsonl", "r.jsonl"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Refused,
    ::testing::Values(
        RefusedCase{"CsvAndRecordTheSame", {"run", "vibration", "--csv", "f", "--record", "f"},
                    "springlab run: --csv and --record name the same file 'f'\n"},
        RefusedCase{"SameFileSpelledTwoWays", {"run", "vibration", "--csv", "./sub/../f", "--record", "f"},
                    "springlab run: --csv and --record name the same file 'f'\n"},
        RefusedCase{"SameFileThroughALink", {"run", "vibration", "--csv", "link.jsonl", "--record", "r.jsonl"},
                    "springlab run: --csv and --record name the same file 'r.jsonl'\n"},
        RefusedCase{"ReplayOverItsRecording", {"replay", "r.jsonl", "--csv", "r.jsonl"},
                    "springlab replay: RECORDING and --csv name the same file 'r.jsonl'\n"},
        RefusedCase{"ReplayOverItsRecordingByALink", {"replay", "link.jsonl", "--csv=r.jsonl"},
                    "springlab replay: RECORDING and --csv name the same file 'r.jsonl'\n"},
        RefusedCase{"AnOptionIsNoFileName", {"run", "vibration", "--csv", "--record", "x"},
                    "springlab run: --csv needs a value\n"},
        RefusedCase{"RecordWithoutName", {"run", "vibration", "--record"}, "springlab run: --record needs a value\n"},
        RefusedCase{"ReplayCsvWithoutName", {"replay", "r.jsonl", "--csv", "--columns", "x"},
                    "springlab replay: --csv needs a value\n"},
        RefusedCase{"OptionBeforeTheVerb", {"--zoom", "2", "run", "vibration"},
                    "springlab run: '--zoom' does not go before run: only --lang does\n"},
        RefusedCase{"UnknownLanguage", {"--lang", "fr", "run", "vibration"}, "springlab run: no language 'fr' (en, ja)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A stream that takes nothing, as stdout on a full disk or a closed pipe.
class Refusing : public std::streambuf {
    int overflow(int) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

struct OutputCase {
    const char* name;
    std::vector<std::string> args;
};

class OutputLost : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputLost, IsAFailure)
{
    Refusing nowhere;
    std::ostream out(&nowhere);
    std::ostringstream err;
    EXPECT_EQ(cli::main(GetParam().args, out, err), cli::kFailed);
    EXPECT_TRUE(err.str().ends_with(": the output could not be written\n")) << err.str();
}

INSTANTIATE_TEST_SUITE_P(Table, OutputLost,
                         ::testing::Values(OutputCase{"Csv", {"run", "vibration", "--ticks", "100000", "--csv", "-"}},
                                           OutputCase{"LastState", {"run", "vibration", "--ticks", "3"}},
                                           OutputCase{"Help", {"run", "--help"}},
                                           OutputCase{"ReplayHelp", {"replay", "--help"}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct MessageCase {
    const char* name;
    std::string recording;  // the file's text
    std::vector<std::string> args;  // after "replay r.jsonl"
    std::string err;
};

class ReplayMessage : public InFolder, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(ReplayMessage, SaysWhatIsWrongInPrintableCharacters)
{
    std::ofstream("bad.jsonl", std::ios::binary) << GetParam().recording;
    std::vector<std::string> args = {"replay", "bad.jsonl"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const Result r = command(args);
    EXPECT_EQ(r.err, GetParam().err);
}

const std::string kHead = "{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":\"vibration\"}\n";

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayMessage,
    ::testing::Values(
        MessageCase{"Empty", "", {}, "springlab replay: bad.jsonl: an empty file, not a recording\n"},
        MessageCase{"EscapeInAKey", kHead + "{\"tick\":0,\"change\":{\"\\u001b[2J\\u0007\\n\":\"1\"}}\n", {},
                    "springlab replay: bad.jsonl: line 2: \"\\x1B[2J\\x07\\n\" is not a text box of vibration\n"},
        MessageCase{"C1Control", kHead + "{\"tick\":0,\"change\":{\"\\u009b31m\":\"1\"}}\n", {},
                    "springlab replay: bad.jsonl: line 2: \"\\u009B31m\" is not a text box of vibration\n"},
        MessageCase{"UnknownExperiment",
                    "{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":\"\\u001b]0;x\\u0007\"}\n", {},
                    "springlab replay: bad.jsonl: line 1: an unknown experiment \"\\x1B]0;x\\x07\" (vibration, rotation, "
                    "two-balls, rubber-cord)\n"},
        MessageCase{"RowLimitNamesTheOption", kHead + "{\"tick\":0,\"change\":{}}\n{\"tick\":2000000,\"end\":true}\n",
                    {"--csv", "-"},
                    "springlab replay: the recording runs 2000000 ticks, more than the 1000000 rows --csv can hold\n"},
        MessageCase{"CsvInOneArgument", kHead + "{\"tick\":0,\"change\":{}}\n{\"tick\":2,\"end\":true}\n",
                    {"--csv=out.csv"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The messages' language follows the locale, as gettext reads it.
struct LocaleCase {
    const char* name;
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
                         ::testing::Values(LocaleCase{"Nothing", nullptr, nullptr, nullptr, "en"},
                                           LocaleCase{"JapaneseLang", nullptr, nullptr, "ja_JP.UTF-8", "ja"},
                                           LocaleCase{"MessagesOverLang", nullptr, "C", "ja_JP.UTF-8", "en"},
                                           LocaleCase{"AllOverEverything", "ja_JP.UTF-8", "C", "C", "ja"},
                                           LocaleCase{"EmptyIsUnset", "", "", "ja_JP.UTF-8", "ja"},
                                           LocaleCase{"English", nullptr, nullptr, "en_GB.UTF-8", "en"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LanguageCase {
    const char* name;
    std::vector<std::string> args;
    std::string_view language;  // of the environment
    std::string err;
};

class Language : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(Language, OneLanguageALine)
{
    cli::Environment env;
    env.language = GetParam().language;
    EXPECT_EQ(command(GetParam().args, env).err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Language,
    ::testing::Values(
        LanguageCase{"RunTimeErrorInJapanese", {"run", "vibration", "--set", "mass=0"}, "ja",
                     "springlab run: 実行時エラー 11 (ティック 1): 0 で除算しました。\n"},
        LanguageCase{"UsageInJapanese", {"run", "vibration", "--ticks", "x"}, "ja",
                     "springlab run: --ticks には 0 以上の整数のティック数を指定してください ('x' ではなく)\n"},
        LanguageCase{"LangBeforeTheVerb", {"--lang", "en", "run", "vibration", "--set", "mass=0"}, "ja",
                     "springlab run: run-time error 11 at tick 1: Division by zero.\n"},
        LanguageCase{"LangWithEquals", {"--lang=ja", "run", "vibration", "--set", "mass=0"}, "en",
                     "springlab run: 実行時エラー 11 (ティック 1): 0 で除算しました。\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// On a terminal a run longer than a second says how far it is, on one
// line rewritten in place and cleared at the end; the data are untouched.
TEST(Progress, ShownForALongRunAndClearedAtTheEnd)
{
    cli::Environment env;
    env.progress = true;
    auto now = std::chrono::steady_clock::time_point{};
    env.now = [&now] { return now += std::chrono::milliseconds(100); };
    const Result r = command({"run", "vibration", "--ticks", "2000", "--columns", "position"}, env);
    const Result quiet = command({"run", "vibration", "--ticks", "2000", "--columns", "position"});
    EXPECT_EQ(r.out, quiet.out);
    EXPECT_NE(r.err.find("\r\x1b[Ktick "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" of 2000, "), std::string::npos) << r.err;
    EXPECT_TRUE(r.err.ends_with("\r\x1b[K")) << r.err;
    EXPECT_EQ(quiet.err, "");
}

TEST(Progress, NotShownForAShortRun)
{
    cli::Environment env;
    env.progress = true;
    auto now = std::chrono::steady_clock::time_point{};
    env.now = [&now] { return now += std::chrono::microseconds(1); };
    EXPECT_EQ(command({"run", "vibration", "--ticks", "2000"}, env).err, "");
}

}  // namespace
