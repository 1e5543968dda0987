#include "measure/atomic_file.h"

#include "runtime/text/catalogue.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#define SPRINGLAB_POSIX_FILES 1
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace measure {
namespace {

namespace fs = std::filesystem;

// A chain of links longer than this is a loop (the kernel's own limit).
constexpr int kMaxLinks = 40;

// The temporary files being written, for the signal handler to remove:
// fixed slots of plain characters, since a handler may not allocate.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kMaxTempPath = 4096;
struct TempSlot {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 names a file
    std::array<char, kMaxTempPath> path{};
};
std::array<TempSlot, kSlots> g_temps;

// Lists the temporary file while it exists; removes it unless kept.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : m_path(std::move(path))
    {
        if (m_path.size() >= kMaxTempPath)
            return;  // saved all the same, only not removed by a signal
        for (TempSlot& slot : g_temps) {
            int expected = 0;
            if (slot.state.compare_exchange_strong(expected, 1)) {
                std::memcpy(slot.path.data(), m_path.c_str(), m_path.size() + 1);
                slot.state.store(2);
                m_slot = &slot;
                return;
            }
        }
    }
    ~TemporaryFile()
    {
        if (!m_kept) {
            std::error_code ec;
            fs::remove(m_path, ec);
        }
        if (m_slot)
            m_slot->state.store(0);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return m_path; }
    // Renamed into place: nothing left to remove.
    void kept() { m_kept = true; }

private:
    std::string m_path;
    TempSlot* m_slot = nullptr;
    bool m_kept = false;
};

// A hidden name beside `target`, so the rename stays on one file system and
// never leaves a half-written file under the real name.
std::string temporaryNameBeside(const fs::path& target)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name = ".";
    name.append(target.filename().string()).append(".");
    for (int i = 0; i < 8; ++i)
        name.push_back(kLetters[random() % (sizeof kLetters - 1)]);
    return (target.parent_path() / name).string();
}

std::string say(std::string_view language, std::string_view source, std::initializer_list<std::string_view> args = {})
{
    return rt::text::say(language, "measure", source, args);
}

// The system's reasons a save fails most often, as the C library words
// them, so that the translation files can say them in every language; any
// other reason is told in the system's words.
[[maybe_unused]] constexpr const char* kCommonReasons[] = {
    QT_TRANSLATE_NOOP("measure", "No such file or directory"),
    QT_TRANSLATE_NOOP("measure", "Permission denied"),
    QT_TRANSLATE_NOOP("measure", "No space left on device"),
    QT_TRANSLATE_NOOP("measure", "Read-only file system"),
    QT_TRANSLATE_NOOP("measure", "Is a directory"),
    QT_TRANSLATE_NOOP("measure", "Not a directory"),
    QT_TRANSLATE_NOOP("measure", "File name too long"),
    QT_TRANSLATE_NOOP("measure", "Disk quota exceeded"),
    QT_TRANSLATE_NOOP("measure", "File exists"),
    QT_TRANSLATE_NOOP("measure", "Input/output error"),
    QT_TRANSLATE_NOOP("measure", "File too large"),
    QT_TRANSLATE_NOOP("measure", "Too many levels of symbolic links"),
};

std::string reasonOf(std::error_code error, std::string_view language) { return say(language, error.message()); }

#ifdef SPRINGLAB_POSIX_FILES

std::string reasonOf(int error, std::string_view language)
{
    return reasonOf(std::error_code(error, std::generic_category()), language);
}

std::string writeAll(int fd, std::string_view data, std::string_view language)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return reasonOf(errno, language);
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

// The new file, created with O_EXCL so that no other file of that name is
// ever written; the mode goes through the umask as for any new file.
int createTemporary(const fs::path& target, std::optional<TemporaryFile>& temp, std::string& error,
                    std::string_view language)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryNameBeside(target);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temp.emplace(std::move(name));
            return fd;
        }
        if (errno != EEXIST) {
            error = reasonOf(errno, language);
            return -1;
        }
    }
    error = reasonOf(EEXIST, language);
    return -1;
}

std::string saveTo(const std::string& path, const fs::path& target,
                   const std::function<void(const Sink&)>& produce, std::string_view language)
{
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: it is not an ordinary file"), {path});
        // Root may write anything; a file nobody may write is still meant
        // to stay as it is.
        if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: the file is read-only"), {path});
    } else if (errno != ENOENT) {
        return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: %2"), {path, reasonOf(errno, language)});
    }

    std::optional<TemporaryFile> temp;
    std::string error;
    const int fd = createTemporary(target, temp, error, language);
    if (fd < 0)
        return say(language, QT_TRANSLATE_NOOP("measure", "%1: cannot create a file there: %2"), {path, error});
    if (exists) {
        // The saved file is the old one with new contents: its owner where
        // the user may give it (root may; others only keep their own), then
        // its bits, which a change of owner would clear.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            if (::fchown(fd, old.st_uid, old.st_gid) != 0)
                (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    try {
        produce([&](std::string_view piece) {
            if (error.empty())
                error = writeAll(fd, piece, language);
        });
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (error.empty() && ::fsync(fd) != 0)
        error = reasonOf(errno, language);
    if (::close(fd) != 0 && error.empty())
        error = reasonOf(errno, language);
    if (error.empty() && ::rename(temp->path().c_str(), target.c_str()) != 0)
        error = reasonOf(errno, language);
    if (!error.empty())
        return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: %2"), {path, error});
    temp->kept();
    return {};
}

std::atomic<void (*)(int)> g_beforeDying{nullptr};

extern "C" void removeTemporariesAndDie(int signal)
{
    removeTemporaryFilesNow();
    if (void (*hook)(int) = g_beforeDying.load())
        hook(signal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

#else

std::string saveTo(const std::string& path, const fs::path& target,
                   const std::function<void(const Sink&)>& produce, std::string_view language)
{
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status))
            return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: it is not an ordinary file"), {path});
        if ((status.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write))
            == fs::perms::none)
            return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: the file is read-only"), {path});
    }
    std::string name = temporaryNameBeside(target);
    for (int attempt = 0; attempt < 100 && fs::exists(name, ec); ++attempt)
        name = temporaryNameBeside(target);
    TemporaryFile temp(name);
    bool written = false;
    {
        std::ofstream out(fs::path(temp.path()), std::ios::binary);
        if (!out)
            return say(language, QT_TRANSLATE_NOOP("measure", "%1: cannot create a file there"), {path});
        produce([&out](std::string_view piece) {
            if (out)
                out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
        out.flush();
        written = static_cast<bool>(out);
    }
    if (!written)
        return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: the file could not be written"), {path});
    if (fs::exists(status))
        fs::permissions(temp.path(), status.permissions(), ec);
    fs::rename(temp.path(), target, ec);
    if (ec)
        return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: %2"), {path, reasonOf(ec, language)});
    temp.kept();
    return {};
}

#endif

bool isDescriptorLink(const fs::path& p)
{
    const std::string s = p.lexically_normal().string();
    return s.starts_with("/proc/") || s.starts_with("/dev/fd/");
}

}  // namespace

std::string savedFileOf(const std::string& path)
{
    fs::path p(path);
    std::error_code ec;
    for (int links = 0; links < kMaxLinks && fs::is_symlink(fs::symlink_status(p, ec)); ++links) {
        const fs::path to = fs::read_symlink(p, ec);
        if (ec)
            break;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    // The folders too, so another spelling of the same place compares equal.
    const fs::path whole = fs::weakly_canonical(fs::absolute(p, ec), ec);
    return ec ? p.lexically_normal().string() : whole.string();
}

std::string saveFile(const std::string& path, const std::function<void(const Sink&)>& produce,
                     std::string_view language)
{
    std::error_code ec;
    fs::path p(path);
    for (int links = 0; fs::is_symlink(fs::symlink_status(p, ec)); ++links) {
        if (links == kMaxLinks)
            return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: too many symbolic links"), {path});
        // /dev/stdout and its kin are links to a descriptor the program has
        // open (a terminal, a pipe, a file the shell opened): the file at
        // the far end is not the user's to replace, and a rename would
        // leave the descriptor on the old one.
        if (isDescriptorLink(p))
            return say(language,
                       QT_TRANSLATE_NOOP("measure", "%1: not saved: it names an open descriptor, not a file (use - for standard output)"),
                       {path});
        const fs::path to = fs::read_symlink(p, ec);
        if (ec)
            return say(language, QT_TRANSLATE_NOOP("measure", "%1: not saved: %2"), {path, reasonOf(ec, language)});
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return saveTo(path, p, produce, language);
}

void removeTemporaryFilesNow()
{
#ifdef SPRINGLAB_POSIX_FILES
    for (TempSlot& slot : g_temps)
        if (slot.state.load() == 2)
            ::unlink(slot.path.data());
#endif
}

void removeTemporaryFilesOnSignals(void (*beforeDying)(int signal))
{
#ifdef SPRINGLAB_POSIX_FILES
    g_beforeDying.store(beforeDying);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) {
        struct sigaction now {};
        ::sigaction(signal, nullptr, &now);
        if (now.sa_handler == SIG_IGN)  // e.g. nohup: the user wants it ignored
            continue;
        struct sigaction action {};
        action.sa_handler = removeTemporariesAndDie;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
#else
    (void)beforeDying;
#endif
}

}  // namespace measure
