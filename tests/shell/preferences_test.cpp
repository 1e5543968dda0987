// What the user chooses about the whole program: the zoom (menu, keys,
// command line, remembered), the language (menu, command line, remembered,
// applied to open windows at once) and the About box.

#include "shell/app_setup.h"
#include "shell/display_options.h"
#include "shell/frm_main.h"
#include "tests/support/typed_windows.h"
#include "shell/language.h"
#include "shell/preferences.h"
#include "shell/window_set.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <sys/stat.h>
#include <string>

namespace {

class Preferences : public ::testing::Test {
protected:
    void SetUp() override { removeSettings(); }
    void TearDown() override
    {
        rt::setZoomListener({});
        rt::setZoomPercent(100);
        setLanguage(Language::Japanese);
        removeSettings();
    }
    static void removeSettings()
    {
        const QString path = settingsFilePath();
        QFile::remove(path);
        QDir().rmdir(path);
    }
};

// ------------------------------------------------------------ zoom levels

struct StepCase {
    int from, direction, to;
};

class ZoomSteps : public Preferences, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ZoomSteps, GoToTheNextLevelAndStopAtTheEnds)
{
    const StepCase& c = GetParam();
    EXPECT_EQ(rt::neighbourZoomLevel(c.from, c.direction), c.to);
}

INSTANTIATE_TEST_SUITE_P(Levels, ZoomSteps,
                         ::testing::Values(StepCase{100, +1, 125}, StepCase{125, +1, 150},
                                           StepCase{300, +1, 400}, StepCase{400, +1, 400},
                                           StepCase{100, -1, 100}, StepCase{400, -1, 300},
                                           StepCase{150, -1, 125}, StepCase{175, +1, 200},
                                           StepCase{175, -1, 150}, StepCase{50, +1, 100},
                                           StepCase{900, -1, 400}),
                         [](const auto& info) {
                             return std::to_string(info.param.from)
                                    + (info.param.direction > 0 ? "_up" : "_down");
                         });

TEST_F(Preferences, OnlyTheOfferedLevelsAreTaken)
{
    for (int wrong : {0, -100, 99, 130, 401, 100000}) {
        rt::setZoomPercent(wrong);
        EXPECT_EQ(rt::zoomPercent(), 100) << wrong;
    }
}

// ------------------------------------------------------------ keys and menu

TEST_F(Preferences, KeysInAnyWindowZoomEveryWindowAndTheMenuFollows)
{
    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    frmVibration& vibration = vibrationWindow(windows);
    vibration.Show();
    QApplication::setActiveWindow(&vibration);
    const QSize launcherAtFull = launcher.size();
    const QSize vibrationAtFull = vibration.size();

    struct Key {
        Qt::Key key;
        int expected;
    };
    for (const Key& k : {Key{Qt::Key_Plus, 125}, Key{Qt::Key_Equal, 150}, Key{Qt::Key_Plus, 200},
                         Key{Qt::Key_Minus, 150}, Key{Qt::Key_0, 100}}) {
        QTest::keyClick(&vibration.textBox("Text1"), k.key, Qt::ControlModifier);
        EXPECT_EQ(rt::zoomPercent(), k.expected);
        EXPECT_TRUE(launcher.zoomAction(k.expected).isChecked()) << k.expected;
        EXPECT_EQ(vibration.width(), qRound(3900 * k.expected / 100.0 / 15));
        EXPECT_EQ(launcher.width(), qRound(3720 * k.expected / 100.0 / 15));
    }
    EXPECT_EQ(launcher.size(), launcherAtFull);
    EXPECT_EQ(vibration.size(), vibrationAtFull);
    EXPECT_EQ(vibration.textBox("Text1").text(), QStringLiteral("10"));  // the keys typed nothing
}

TEST_F(Preferences, TheZoomMenuOffersEveryLevelAndRemembersTheChoice)
{
    rememberZoomChanges();
    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    for (int level : rt::kZoomLevels) {
        QAction& action = launcher.zoomAction(level);
        EXPECT_EQ(action.data().toInt(), level);
        action.trigger();
        EXPECT_EQ(rt::zoomPercent(), level);
        EXPECT_TRUE(action.isChecked());
        EXPECT_EQ(QSettings().value(QStringLiteral("view/zoom")).toInt(), level);
        // The menus grow with the windows.
        QMenu* zoomMenu = action.associatedObjects().isEmpty()
                              ? nullptr
                              : qobject_cast<QMenu*>(action.associatedObjects().front());
        ASSERT_NE(zoomMenu, nullptr);
        EXPECT_DOUBLE_EQ(zoomMenu->font().pointSizeF(),
                         QApplication::font().pointSizeF() * level / 100.0);
        // The buttons keep their place in the client area, at the zoom.
        const QRect button = launcher.button("Command3").geometry();
        EXPECT_EQ(button.topLeft(),
                  launcher.pixelOf(360, 1560).toPoint()) << level;
    }
}

// ------------------------------------------------------------ remembered

struct StoredCase {
    const char* name;
    QVariant zoom;
    QVariant language;
    int expectedZoom;
    Language expectedLanguage;
};

class Restored : public Preferences, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(Restored, TakesWhatTheProgramOffersAndPassesOverTheRest)
{
    const StoredCase& c = GetParam();
    {
        QSettings settings;
        if (c.zoom.isValid())
            settings.setValue(QStringLiteral("view/zoom"), c.zoom);
        if (c.language.isValid())
            settings.setValue(QStringLiteral("language"), c.language);
    }
    restorePreferences();
    EXPECT_EQ(rt::zoomPercent(), c.expectedZoom);
    EXPECT_EQ(currentLanguage(), c.expectedLanguage);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Restored,
    ::testing::Values(StoredCase{"Nothing", {}, {}, 100, Language::Japanese},
                      StoredCase{"ZoomAndEnglish", 200, QStringLiteral("en"), 200, Language::English},
                      StoredCase{"ZoomAsText", QStringLiteral("300"), QStringLiteral("ja"), 300,
                                 Language::Japanese},
                      StoredCase{"NotALevel", 175, QStringLiteral("fr"), 100, Language::Japanese},
                      StoredCase{"Huge", QStringLiteral("99999999999999"), {}, 100, Language::Japanese},
                      StoredCase{"Garbage", QStringLiteral("abc"), QStringLiteral("日本語"), 100,
                                 Language::Japanese},
                      StoredCase{"AList", QStringList{QStringLiteral("200"), QStringLiteral("300")}, QStringLiteral("EN"), 100,
                                 Language::Japanese}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ hostile files

// What may stand where the settings file should be. None of it may block
// the start, make Qt allocate what a size in the file claims, or be
// replaced by a file of the program's.
struct HostileSettings {
    const char* name;
    std::function<void(const QString& path)> plant;
    bool keptAsItWas;  // the thing planted is still there after a choice
};

class HostileSettingsFile : public Preferences, public ::testing::WithParamInterface<HostileSettings> {};

TEST_P(HostileSettingsFile, IsPassedOverWithoutBlockingOrAllocating)
{
    const QString path = settingsFilePath();
    EXPECT_EQ(path, QSettings().fileName());  // the file QSettings would use
    QDir().mkpath(QFileInfo(path).path());
    GetParam().plant(path);
    restorePreferences();  // returns: a FIFO read would block here for ever
    EXPECT_EQ(rt::zoomPercent(), 100);
    EXPECT_EQ(currentLanguage(), Language::Japanese);
    rememberZoomChanges();
    rt::setZoomPercent(200);
    rememberLanguage(Language::English);
    const QFileInfo after(path);
    if (GetParam().keptAsItWas) {
        EXPECT_FALSE(after.isFile() && after.size() < 100) << "replaced";
    }
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HostileSettingsFile,
    ::testing::Values(
        HostileSettings{"Fifo", [](const QString& p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
                        true},
        HostileSettings{"Folder", [](const QString& p) { QDir().mkpath(p); }, true},
        HostileSettings{"Huge", [](const QString& p) { writeFile(p, "[view]\nzoom=200\n" + QByteArray(1 << 20, '#')); },
                        true},
        HostileSettings{"VariantClaimingEightGigabytes",
                        [](const QString& p) {
                            writeFile(p, QByteArray("[General]\nlanguage=@Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xff)\n"
                                                    "[view]\nzoom=@Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xff)\n"));
                        },
                        false}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ command line

struct OptionCase {
    const char* name;
    QStringList arguments;
    bool accepted;
    int zoom;
    Language language;
};

class CommandLine : public Preferences, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(CommandLine, AppliesGoodValuesAndNamesTheBadOne)
{
    const OptionCase& c = GetParam();
    QCommandLineParser parser;
    addDisplayOptions(parser);
    ASSERT_TRUE(parser.parse(QStringList{QStringLiteral("springlab")} + c.arguments));
    const QString error = applyDisplayOptions(parser);
    EXPECT_EQ(error.isEmpty(), c.accepted) << error.toStdString();
    if (!c.accepted) {
        EXPECT_FALSE(error.contains(QLatin1Char('\n')));
        EXPECT_TRUE(error.startsWith(c.arguments.front().section(QLatin1Char('='), 0, 0)))
            << error.toStdString();
    }
    // A bad value applies nothing, not even the good option beside it.
    EXPECT_EQ(rt::zoomPercent(), c.zoom);
    EXPECT_EQ(currentLanguage(), c.language);
}

const auto J = Language::Japanese;
const auto E = Language::English;

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLine,
    ::testing::Values(OptionCase{"None", {}, true, 100, J},
                      OptionCase{"Zoom", {"--zoom", "250"}, true, 250, J},
                      OptionCase{"ZoomWithPercent", {"--zoom=150%"}, true, 150, J},
                      OptionCase{"English", {"--lang", "en"}, true, 100, E},
                      OptionCase{"Both", {"--zoom", "400", "--lang=en"}, true, 400, E},
                      OptionCase{"ZoomNotALevel", {"--zoom", "3"}, false, 100, J},
                      OptionCase{"ZoomNegative", {"--zoom=-200"}, false, 100, J},
                      OptionCase{"ZoomText", {"--zoom", "big", "--lang", "en"}, false, 100, J},
                      OptionCase{"ZoomEmpty", {"--zoom="}, false, 100, J},
                      OptionCase{"ZoomOverflow", {"--zoom", "4294967496"}, false, 100, J},
                      OptionCase{"LangUnknown", {"--lang", "fr", "--zoom", "200"}, false, 100, J},
                      OptionCase{"LangEmpty", {"--lang="}, false, 100, J}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineProgram, ABadValueIsOneLineOnStderrAndStatusTwo)
{
    for (const QStringList& arguments : {QStringList{QStringLiteral("--zoom"), QStringLiteral("7")},
                                         QStringList{QStringLiteral("--lang=de")}}) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(SPRINGLAB_EXECUTABLE), arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 2);
        const QStringList lines = QString::fromLocal8Bit(program.readAllStandardError())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                      .filter(QStringLiteral("springlab:"));
        ASSERT_EQ(lines.size(), 1) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(lines.front().contains(arguments.front().section(QLatin1Char('='), 0, 0)));
    }
}

// ------------------------------------------------------------ language

TEST_F(Preferences, SwitchingLanguageRetranslatesOpenWindowsAndKeepsTypedValues)
{
    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    frmVibration& vibration = vibrationWindow(windows);
    vibration.Show();
    vibration.textBox("Text2").setText(QStringLiteral("123"));
    vibration.Timer1.fire();
    const double position = vibration.Position;

    launcher.languageAction(Language::English).trigger();
    EXPECT_EQ(currentLanguage(), Language::English);
    EXPECT_EQ(QSettings().value(QStringLiteral("language")).toString(), QStringLiteral("en"));
    EXPECT_EQ(launcher.windowTitle(), QStringLiteral("Spring Experiments"));
    EXPECT_EQ(launcher.button("Command3").text(), QStringLiteral("Two balls joined by a spring"));
    EXPECT_EQ(vibration.windowTitle(), QStringLiteral("Vibration of a Spring"));
    EXPECT_EQ(vibration.button("Command1").text(), QStringLiteral("Apply"));
    EXPECT_EQ(vibration.label("Label3").text(), QStringLiteral("Spring k"));
    EXPECT_EQ(vibration.label("Label5").text(), QStringLiteral("Damping"));
    EXPECT_EQ(vibration.textBox("Text2").text(), QStringLiteral("123"));
    EXPECT_EQ(vibration.Position, position);
    EXPECT_TRUE(vibration.Timer1.Enabled());
    QStringList menus;
    for (QAction* menu : launcher.menuBar().actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("&View"), QStringLiteral("言語/&Language"), QStringLiteral("&Measure"),
                                  QStringLiteral("&Help")}));
    EXPECT_TRUE(launcher.languageAction(Language::English).isChecked());

    launcher.languageAction(Language::Japanese).trigger();
    EXPECT_EQ(vibration.button("Command1").text(), QStringLiteral("変更"));
    EXPECT_EQ(vibration.label("Label3").text(), QStringLiteral("バネ定数"));
    EXPECT_EQ(launcher.windowTitle(), QStringLiteral("バネ関係"));
    EXPECT_EQ(launcher.menuBar().actions().front()->text(), QStringLiteral("表示(&V)"));
    EXPECT_EQ(QSettings().value(QStringLiteral("language")).toString(), QStringLiteral("ja"));
}

TEST_F(Preferences, ARunTimeErrorIsReportedInTheChosenLanguage)
{
    setLanguage(Language::English);
    Windows windows;
    frmVibration& vibration = vibrationWindow(windows);
    vibration.Show();
    vibration.textBox("Text1").setText(QStringLiteral("-5"));  // not an interval
    QTest::mouseClick(&vibration.button("Command1"), Qt::LeftButton);
    auto* box = vibration.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("Invalid property value."))) << box->text().toStdString();
    EXPECT_TRUE(box->text().contains(QStringLiteral("Vibration of a Spring")));
    EXPECT_TRUE(box->text().contains(QStringLiteral("[Apply]")));
    box->close();
}

// ------------------------------------------------------------ About

TEST_F(Preferences, TheAboutBoxNamesTheProgramVersionLicenceAndQt)
{
    setUpApplication(*qApp);
    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    for (Language language : {Language::Japanese, Language::English}) {
        setLanguage(language);
        launcher.aboutAction().trigger();
        auto* box = launcher.findChild<QMessageBox*>(QStringLiteral("aboutBox"));
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isVisible());
        EXPECT_FALSE(box->isModal());  // the experiments run on behind it
        const QString text = box->text();
        for (const QString& part : {QStringLiteral("バネ関係"), QStringLiteral("Spring Experiments"),
                                    QStringLiteral("SpringLab 1.00"), QStringLiteral("GPL-3.0-or-later"),
                                    QStringLiteral("Qt ") + QString::fromLatin1(qVersion())})
            EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in " << text.toStdString();
        EXPECT_EQ(text.contains(QStringLiteral("Licence")), language == Language::English);
        // The licence's name is never broken at its hyphens ("GPL-3.0-or-/later").
        EXPECT_TRUE(text.contains(QStringLiteral("<nobr>GPL-3.0-or-later</nobr>")));
        EXPECT_EQ(box->windowTitle(), language == Language::English ? QStringLiteral("About")
                                                                   : QStringLiteral("バージョン情報"));
        delete box;
    }
    EXPECT_EQ(launcher.aboutAction().text(), QStringLiteral("&About"));
}

}  // namespace
