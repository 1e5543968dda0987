// Saving: the file the user named and only that one, as it was (its link,
// its permissions), complete or untouched, and no temporary file left
// behind whatever happens during the save.

#include "measure/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <stdexcept>

#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A folder written as words: "name=text@600" a file with its mode,
// "name->target" a link, "name/" a folder.
void make(const fs::path& dir, const std::string& words)
{
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        if (const auto arrow = w.find("->"); arrow != std::string::npos) {
            fs::create_symlink(w.substr(arrow + 2), dir / w.substr(0, arrow));
        } else if (w.ends_with('/')) {
            fs::create_directories(dir / w);
        } else {
            const auto eq = w.find('='), at = w.find('@');
            std::ofstream(dir / w.substr(0, eq)) << w.substr(eq + 1, at - eq - 1);
            fs::permissions(dir / w.substr(0, eq), static_cast<fs::perms>(std::stoi(w.substr(at + 1), nullptr, 8)));
        }
    }
}

// The folder in the same words, sorted: what a save left behind.
std::string snapshot(const fs::path& dir)
{
    std::set<std::string> words;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const std::string name = e.path().lexically_relative(dir).string();
        if (e.is_symlink()) {
            words.insert(name + "->" + fs::read_symlink(e.path()).string());
        } else if (e.is_directory()) {
            words.insert(name + "/");
        } else {
            std::ifstream in(e.path());
            std::ostringstream mode;
            mode << std::oct << static_cast<int>(fs::status(e.path()).permissions());
            words.insert(name + "=" + std::string(std::istreambuf_iterator<char>(in), {}) + "@" + mode.str());
        }
    }
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("springlab_atomic_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

struct NamedCase {
    const char* name;
    const char* before;  // the folder, in words
    const char* save;    // the name given
    const char* error;   // part of the message; "" when it saves "new"
    const char* after;   // the whole folder afterwards
};

class SaveNamed : public SaveTest, public ::testing::WithParamInterface<NamedCase> {};

TEST_P(SaveNamed, WritesWhatWasNamedAndNothingElse)
{
    const NamedCase& c = GetParam();
    make(dir, c.before);
    const mode_t umask = ::umask(022);
    const std::string error = measure::saveFile((dir / c.save).string(), [](const measure::Sink& sink) { sink("new"); });
    ::umask(umask);
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_EQ(*c.error == '\0', error.empty()) << error;
    EXPECT_EQ(snapshot(dir), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveNamed,
    ::testing::Values(
        NamedCase{"LinkWritesItsTarget", "t.csv=old@600 l->t.csv", "l", "", "l->t.csv t.csv=new@600"},
        NamedCase{"LinkIntoAnotherFolder", "sub/ sub/t.csv=old@600 l->sub/t.csv", "l", "",
                  "l->sub/t.csv sub/ sub/t.csv=new@600"},
        NamedCase{"ChainOfLinks", "t.csv=old@600 a->t.csv b->a", "b", "", "a->t.csv b->a t.csv=new@600"},
        NamedCase{"DanglingLinkMakesItsTarget", "sub/ l->sub/n.csv", "l", "", "l->sub/n.csv sub/ sub/n.csv=new@644"},
        NamedCase{"SharedFileStaysShared", "s.csv=old@674", "s.csv", "", "s.csv=new@674"},
        NamedCase{"ReadOnlyIsRefused", "r.csv=old@444", "r.csv", "read-only", "r.csv=old@444"},
        NamedCase{"ReadOnlyThroughALink", "r.csv=old@400 l->r.csv", "l", "read-only", "l->r.csv r.csv=old@400"},
        NamedCase{"LinkToADevice", "so.csv->/dev/null", "so.csv", "not an ordinary file", "so.csv->/dev/null"},
        NamedCase{"LinkToStandardOutput", "so.csv->/proc/self/fd/1", "so.csv", "open descriptor",
                  "so.csv->/proc/self/fd/1"},
        NamedCase{"LinkToDevStdout", "so.csv->/dev/stdout", "so.csv", "open descriptor", "so.csv->/dev/stdout"},
        NamedCase{"LoopOfLinks", "a->b b->a", "a", "too many symbolic links", "a->b b->a"},
        NamedCase{"Folder", "f.csv/", "f.csv", "not an ordinary file", "f.csv/"}),
    [](const auto& info) { return std::string(info.param.name); });

// A new file gets what the user's umask gives any new file, not the
// private mode of a temporary file; the umask itself is left alone.
TEST_F(SaveTest, NewFileFollowsTheUmask)
{
    const mode_t old = ::umask(027);
    const std::string error = measure::saveFile((dir / "n.csv").string(), [](const measure::Sink& sink) { sink("x"); });
    EXPECT_EQ(::umask(old), 027u);
    EXPECT_EQ(error, "");
    EXPECT_EQ(snapshot(dir), "n.csv=x@640");
}

// A save that fails part way, however it fails, leaves the old file as it
// was and no temporary file beside it; a signal still ends the program.
struct FailureCase {
    const char* name;
    std::function<void(const std::string& path)> save;
};

class FailedSave : public SaveTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailedSave, LeavesTheOldFileAndNoTemporary)
{
    make(dir, "out.csv=old@644");
    GetParam().save((dir / "out.csv").string());
    EXPECT_EQ(snapshot(dir), "out.csv=old@644");
}

std::string saveHalfThen(const std::string& path, const std::function<void()>& then)
{
    return measure::saveFile(path, [&then](const measure::Sink& sink) {
        sink(std::string(1 << 20, 'x'));
        then();
    });
}

FailureCase killedBy(const char* name, int signal)
{
    return {name, [signal](const std::string& path) {
                GTEST_FLAG_SET(death_test_style, "threadsafe");
                EXPECT_EXIT(
                    {
                        measure::removeTemporaryFilesOnSignals();
                        saveHalfThen(path, [signal] { std::raise(signal); });
                    },
                    ::testing::KilledBySignal(signal), "");
            }};
}

INSTANTIATE_TEST_SUITE_P(
    Table, FailedSave,
    ::testing::Values(
        // As a full disk: write() fails with part of the data out.
        FailureCase{"FileSizeLimit",
                    [](const std::string& path) {
                        rlimit old{};
                        ::getrlimit(RLIMIT_FSIZE, &old);
                        rlimit small = old;
                        small.rlim_cur = 100000;
                        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
                        ::setrlimit(RLIMIT_FSIZE, &small);
                        const std::string error = saveHalfThen(path, [] {});
                        ::setrlimit(RLIMIT_FSIZE, &old);
                        std::signal(SIGXFSZ, handler);
                        EXPECT_NE(error.find("File too large"), std::string::npos) << error;
                    }},
        FailureCase{"ProducerThrows",
                    [](const std::string& path) {
                        EXPECT_THROW(saveHalfThen(path, [] { throw std::runtime_error("no memory"); }),
                                     std::runtime_error);
                    }},
        killedBy("Interrupt", SIGINT), killedBy("Terminate", SIGTERM), killedBy("HangUp", SIGHUP),
        killedBy("FileSizeSignal", SIGXFSZ)),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
