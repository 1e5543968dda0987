// A termination signal that comes while the window program saves a file
// leaves no hidden temporary file behind: the save fails, the file it was
// to replace stays as it was, and the program goes on to close its windows.
// (A program of its own: the handlers it installs are the real program's.)

#include "measure/atomic_file.h"
#include "shell/app_setup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct Interrupted {
    const char* name;
    int signal;
};

class SaveInterrupted : public ::testing::TestWithParam<Interrupted> {};

TEST_P(SaveInterrupted, LeavesNoTemporaryFileAndTheOldFileWhole)
{
    static bool setUp = [] {
        setUpApplication(*qApp);
        return true;
    }();
    (void)setUp;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old\n");
    old.close();

    const std::string error = measure::saveFile(path.toStdString(), [&](const measure::Sink& sink) {
        sink("new, half");
        std::raise(GetParam().signal);  // as `kill` would, while the save writes
        sink(" written\n");
    });
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("run.csv")});
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old\n"));
}

INSTANTIATE_TEST_SUITE_P(Signals, SaveInterrupted,
                         ::testing::Values(Interrupted{"Term", SIGTERM}, Interrupted{"Int", SIGINT},
                                           Interrupted{"Hup", SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
