// Saving: the file the user named and only that one, as it was (its link,
// its permissions), complete or untouched, and no temporary file left
// behind whatever happens during the save.

#include "measure/atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write(const fs::path& path, const std::string& text, fs::perms perms = fs::perms::owner_read | fs::perms::owner_write)
{
    std::ofstream(path, std::ios::binary) << text;
    fs::permissions(path, perms);
}

// Every name in the folder and below it, links included.
std::vector<std::string> namesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        names.push_back(entry.path().lexically_relative(dir).string());
    std::sort(names.begin(), names.end());
    return names;
}

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("springlab_atomic_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "sub");
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

struct NamedCase {
    const char* name;
    std::function<void(const fs::path& dir)> before;
    const char* save;    // the name given, in the folder
    const char* error;   // part of the message; "" when it saves
    std::function<void(const fs::path& dir)> after;  // checks the folder
    std::vector<std::string> names;  // all that is in the folder afterwards
};

class SaveNamed : public SaveTest, public ::testing::WithParamInterface<NamedCase> {};

TEST_P(SaveNamed, WritesWhatWasNamedAndNothingElse)
{
    const NamedCase& c = GetParam();
    c.before(dir);
    const std::string error = measure::saveFile((dir / c.save).string(), [](const measure::Sink& sink) { sink("new"); });
    if (*c.error == '\0')
        EXPECT_EQ(error, "");
    else
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    c.after(dir);
    EXPECT_EQ(namesIn(dir), c.names);
}

const auto kRw = fs::perms::owner_read | fs::perms::owner_write;

INSTANTIATE_TEST_SUITE_P(
    Table, SaveNamed,
    ::testing::Values(
        NamedCase{"LinkWritesItsTarget",
                  [](const fs::path& d) {
                      write(d / "important.csv", "old");
                      fs::create_symlink("important.csv", d / "link.csv");
                  },
                  "link.csv", "",
                  [](const fs::path& d) {
                      EXPECT_TRUE(fs::is_symlink(d / "link.csv"));
                      EXPECT_EQ(contents(d / "important.csv"), "new");
                  },
                  {"important.csv", "link.csv", "sub"}},
        NamedCase{"LinkIntoAnotherFolder",
                  [](const fs::path& d) {
                      write(d / "sub" / "t.csv", "old");
                      fs::create_symlink("sub/t.csv", d / "link.csv");
                  },
                  "link.csv", "",
                  [](const fs::path& d) { EXPECT_EQ(contents(d / "sub" / "t.csv"), "new"); },
                  {"link.csv", "sub", "sub/t.csv"}},
        NamedCase{"ChainOfLinks",
                  [](const fs::path& d) {
                      write(d / "t.csv", "old");
                      fs::create_symlink("t.csv", d / "a");
                      fs::create_symlink("a", d / "b");
                  },
                  "b", "", [](const fs::path& d) { EXPECT_EQ(contents(d / "t.csv"), "new"); },
                  {"a", "b", "sub", "t.csv"}},
        NamedCase{"DanglingLinkMakesItsTarget",
                  [](const fs::path& d) { fs::create_symlink("sub/new.csv", d / "link.csv"); }, "link.csv", "",
                  [](const fs::path& d) {
                      EXPECT_TRUE(fs::is_symlink(d / "link.csv"));
                      EXPECT_EQ(contents(d / "sub" / "new.csv"), "new");
                  },
                  {"link.csv", "sub", "sub/new.csv"}},
        NamedCase{"LinkToADeviceIsRefused",
                  [](const fs::path& d) { fs::create_symlink("/dev/null", d / "so.csv"); }, "so.csv",
                  "not an ordinary file",
                  [](const fs::path& d) { EXPECT_EQ(fs::read_symlink(d / "so.csv"), "/dev/null"); },
                  {"so.csv", "sub"}},
        NamedCase{"LinkToStandardOutput",
                  [](const fs::path& d) { fs::create_symlink("/proc/self/fd/1", d / "so.csv"); }, "so.csv",
                  "open descriptor", [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "so.csv")); },
                  {"so.csv", "sub"}},
        NamedCase{"LinkToDevStdout",
                  [](const fs::path& d) { fs::create_symlink("/dev/stdout", d / "so.csv"); }, "so.csv",
                  "open descriptor", [](const fs::path&) { EXPECT_TRUE(fs::is_symlink("/dev/stdout")); },
                  {"so.csv", "sub"}},
        NamedCase{"LoopOfLinks",
                  [](const fs::path& d) {
                      fs::create_symlink("b", d / "a");
                      fs::create_symlink("a", d / "b");
                  },
                  "a", "too many symbolic links", [](const fs::path&) {}, {"a", "b", "sub"}},
        NamedCase{"PrivateFileStaysPrivate", [](const fs::path& d) { write(d / "p.csv", "old", kRw); }, "p.csv", "",
                  [](const fs::path& d) {
                      EXPECT_EQ(fs::status(d / "p.csv").permissions(), kRw);
                      EXPECT_EQ(contents(d / "p.csv"), "new");
                  },
                  {"p.csv", "sub"}},
        NamedCase{"SharedFileStaysShared",
                  [](const fs::path& d) { write(d / "s.csv", "old", kRw | fs::perms::group_all | fs::perms::others_read); },
                  "s.csv", "",
                  [](const fs::path& d) {
                      EXPECT_EQ(fs::status(d / "s.csv").permissions(), kRw | fs::perms::group_all | fs::perms::others_read);
                  },
                  {"s.csv", "sub"}},
        NamedCase{"ReadOnlyFileIsRefused",
                  [](const fs::path& d) {
                      write(d / "r.csv", "old", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
                  },
                  "r.csv", "read-only", [](const fs::path& d) { EXPECT_EQ(contents(d / "r.csv"), "old"); },
                  {"r.csv", "sub"}},
        NamedCase{"ReadOnlyThroughALinkIsRefused",
                  [](const fs::path& d) {
                      write(d / "r.csv", "old", fs::perms::owner_read);
                      fs::create_symlink("r.csv", d / "l.csv");
                  },
                  "l.csv", "read-only", [](const fs::path& d) { EXPECT_EQ(contents(d / "r.csv"), "old"); },
                  {"l.csv", "r.csv", "sub"}},
        NamedCase{"FolderIsRefused", [](const fs::path& d) { fs::create_directory(d / "f.csv"); }, "f.csv",
                  "not an ordinary file", [](const fs::path& d) { EXPECT_TRUE(fs::is_directory(d / "f.csv")); },
                  {"f.csv", "sub"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A new file gets the permissions the user's umask gives any new file, not
// the private ones of a temporary file; the umask itself is left alone.
TEST_F(SaveTest, NewFileFollowsTheUmask)
{
    const mode_t old = ::umask(027);
    const std::string error = measure::saveFile((dir / "n.csv").string(), [](const measure::Sink& sink) { sink("x"); });
    const mode_t during = ::umask(old);
    EXPECT_EQ(error, "");
    EXPECT_EQ(during, 027u);
    EXPECT_EQ(fs::status(dir / "n.csv").permissions(), kRw | fs::perms::group_read);
}

// A save that fails part way, however it fails, leaves the old file as it
// was and no temporary file beside it.
struct FailureCase {
    const char* name;
    std::function<std::string(const std::string& path)> save;  // the error
    const char* error;
};

class FailedSave : public SaveTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailedSave, LeavesTheOldFileAndNoTemporary)
{
    const std::string path = (dir / "out.csv").string();
    write(path, "old");
    EXPECT_NE(GetParam().save(path).find(GetParam().error), std::string::npos);
    EXPECT_EQ(contents(path), "old");
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"out.csv", "sub"}));
}

std::string saveBig(const std::string& path)
{
    return measure::saveFile(path, [](const measure::Sink& sink) {
        for (int i = 0; i < 64; ++i)
            sink(std::string(1 << 16, 'x'));
    });
}

INSTANTIATE_TEST_SUITE_P(
    Table, FailedSave,
    ::testing::Values(
        FailureCase{"FileSizeLimit",
                    [](const std::string& path) {
                        // As a full disk: write() fails with the data half out.
                        rlimit old{};
                        ::getrlimit(RLIMIT_FSIZE, &old);
                        rlimit small = old;
                        small.rlim_cur = 100000;
                        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
                        ::setrlimit(RLIMIT_FSIZE, &small);
                        const std::string error = saveBig(path);
                        ::setrlimit(RLIMIT_FSIZE, &old);
                        std::signal(SIGXFSZ, handler);
                        return error;
                    },
                    "File too large"},
        FailureCase{"ProducerThrows",
                    [](const std::string& path) {
                        try {
                            measure::saveFile(path, [](const measure::Sink& sink) {
                                sink("half");
                                throw std::runtime_error("out of memory");
                            });
                        } catch (const std::runtime_error& e) {
                            return std::string(e.what());
                        }
                        return std::string();
                    },
                    "out of memory"}),
    [](const auto& info) { return std::string(info.param.name); });

// Ended by a signal in the middle of a save (Ctrl+C, kill, a closed
// terminal, the file-size limit), the program leaves no hidden partial
// file; the signal still ends it as it would have.
class SignalDuringSave : public SaveTest, public ::testing::WithParamInterface<int> {};

TEST_P(SignalDuringSave, RemovesTheTemporaryFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string path = (dir / "out.csv").string();
    write(path, "old");
    const int signal = GetParam();
    EXPECT_EXIT(
        {
            measure::removeTemporaryFilesOnSignals();
            measure::saveFile(path, [signal](const measure::Sink& sink) {
                sink("half");
                std::raise(signal);
            });
        },
        ::testing::KilledBySignal(signal), "");
    EXPECT_EQ(contents(path), "old");
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"out.csv", "sub"}));
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalDuringSave, ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGXFSZ),
                         [](const auto& info) {
                             return std::string(info.param == SIGINT    ? "Int"
                                                : info.param == SIGTERM ? "Term"
                                                : info.param == SIGHUP  ? "Hup"
                                                                        : "Xfsz");
                         });

}  // namespace
