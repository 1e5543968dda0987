// A long run of the whole program. The launcher opens all four windows, then
// a seeded stream of ticks, presses, moves, drags, box edits (hostile texts
// among them), "変更" clicks and close-and-reopen cycles drives them. After
// every event: each run-time error came through the runtime's reporter with
// a known number and stopped only its own window's timer, and no picture
// piles up. At the end every window comes back on its default texts, no
// widget was left behind, and resident memory stayed flat after warm-up.
//
// The seed is printed; SPRINGLAB_SOAK_SEED=<n> replays a run, and
// SPRINGLAB_SOAK_TICKS=<n> makes it longer.

#include "shell/frm_main.h"
#include "tests/support/typed_windows.h"
#include "shell/window_set.h"

#include <QApplication>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

// A seed whose run meets all five error numbers.
constexpr std::uint64_t kDefaultSeed = 8;
constexpr long kDefaultTicks = 200000;
// Resident memory may grow this much from the end of warm-up to the end.
constexpr long kAllowedGrowthKiB = 2 * 1024;

const std::set<int> kKnownErrors = {6, 9, 11, 16, 380};

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 0) : fallback;
}

// Resident memory, with what the allocator holds free given back first:
// a box that held 32 767 characters a moment ago must not count.
long residentKiB()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = -1;
    while (status >> key && key != "VmRSS:")
        status.ignore(1 << 12, '\n');
    status >> kib;
    return kib;
}

// Texts that break something somewhere, in any box. None of them asks the
// rubber cord for more than 300 nodes, so its ticks stay cheap.
const char* const kHostile[] = {
    "", "   ", "abc", "-0", "0", "-1", "1e308", "1e309", "-1e309", "&H", "&HFFFF",
    "&HFFFFFFFF", "&O377", "1d2", "--5", "+.5", "5.", "1,5", "１０", "1\n2\t3", "2.5E+2",
};

// Ordinary numbers for each box, as a user would try them: around the
// default, now and then negative.
QString ordinaryText(const QString& defaultText, bool timerBox, bool nodeCount, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    const double f = std::uniform_real_distribution<double>(-0.5, 2.5)(rng);
    static const char* const kIntervals[] = {"10", "1", "30", "100", "1000", "65535"};
    if (timerBox)
        return QString::fromLatin1(kIntervals[rng() % std::size(kIntervals)]);
    if (nodeCount)
        return QString::number(static_cast<int>(rng() % 301));
    return QString::number(defaultText.toDouble() * f, 'g', 6);
}

struct Sim {
    const char* name;
    const char* launcherButton;
    int boxCount;  // Text1 (the timer) to TextN
    std::size_t maxPicture;  // draw operations a single tick may leave
    rt::Form* form = nullptr;
    rt::Timer* timer = nullptr;
    std::vector<QString> defaults{};

    QLineEdit& box(std::size_t i) const { return form->textBox(("Text" + std::to_string(i + 1)).c_str()); }
};

class Soak {
public:
    explicit Soak(std::uint64_t seed) : m_rng(seed)
    {
        rt::setBeepHandler([this] { ++m_beeps; });
        rt::setErrorReporter([this](rt::Form& form, const rt::RuntimeError& error) { record(form, error); });
    }
    ~Soak()
    {
        rt::resetErrorReporter();
        rt::setBeepHandler({});
    }

    void openEverything()
    {
        m_launcher.Show();
        for (std::size_t i = 0; i < m_sims.size(); ++i)
            openThroughLauncher(i);
        bind(m_sims[0], rotationWindow(m_windows));
        bind(m_sims[1], vibrationWindow(m_windows));
        bind(m_sims[2], twoBallsWindow(m_windows));
        bind(m_sims[3], rubberCordWindow(m_windows));
        for (Sim& sim : m_sims) {
            ASSERT_TRUE(sim.form->isVisible()) << sim.name;
            ASSERT_TRUE(sim.timer->isTicking()) << sim.name;
            // The soak is the only clock: the window's timer keeps running
            // (so isTicking tells whether a tick would come), but its real
            // timeouts are muted, which makes a run depend on its seed alone.
            const auto timers = sim.form->findChildren<QTimer*>(Qt::FindDirectChildrenOnly);
            ASSERT_EQ(timers.size(), 1) << sim.name;
            timers.front()->blockSignals(true);
            for (int i = 0; i < sim.boxCount; ++i)
                sim.defaults.push_back(sim.box(i).text());
        }
    }

    // One event of the stream. The random numbers drawn do not depend on
    // the windows' state, so a seed always gives the same stream.
    void step()
    {
        ++m_events;
        const unsigned what = m_rng() % 100;
        const std::size_t target = m_rng() % m_sims.size();
        const std::uint64_t a = m_rng(), b = m_rng(), c = m_rng();
        Sim& sim = m_sims[target];
        const bool open = sim.form->isLoaded();
        if (what < 55)
            return tickRound(1 + static_cast<int>(a % 40), b);
        if (what < 98 && !open)
            return;
        const std::array<bool, 4> ticking = tickingNow();
        if (what >= 98) {
            // The launcher: close the window and open it again, or just
            // press its button (which brings an open window forward).
            if (open && (a % 2) == 0)
                closeWindow(target);
            if ((b % 3) != 0)
                openThroughLauncher(target);
        } else if (what < 68) {
            move(sim, a, b, c);
        } else if (what < 78) {
            press(sim, a, b, c);
        } else if (what < 90) {
            edit(sim, a, b, c);
        } else if (what < 94) {
            clickChange(sim);
        } else {
            revive(sim);
        }
        expectOthersUntouched(target, ticking);
    }

    long ticks() const { return m_ticks; }

    // Every window open, on its default texts, ticking without error.
    void bringAllBack()
    {
        for (std::size_t i = 0; i < m_sims.size(); ++i) {
            Sim& sim = m_sims[i];
            if (!sim.form->isLoaded())
                openThroughLauncher(i);
            std::size_t before = m_errors.size();
            auto run = [&] {
                revive(sim);
                for (int t = 0; t < 20 && sim.timer->isTicking(); ++t)
                    fire(sim);
            };
            run();
            if (m_errors.size() != before) {
                // Only the two-ball window carries a motion into the next
                // run (its reset keeps the velocities). The error that ends
                // such a motion stops the balls, so the next run is clean.
                EXPECT_EQ(sim.name, std::string("two balls"));
                EXPECT_EQ(m_errors.size(), before + 1);
                before = m_errors.size();
                run();
            }
            EXPECT_EQ(m_errors.size(), before) << sim.name << " did not come back";
            EXPECT_TRUE(sim.timer->isTicking()) << sim.name;
            EXPECT_FALSE(sim.form->displayList().empty()) << sim.name;
        }
    }

    void report(std::uint64_t seed, double seconds, long baseKiB, long endKiB)
    {
        std::printf("soak: seed %llu, %ld ticks, %ld events, %ld beeps, %.1f s\nsoak: errors by number:",
                    static_cast<unsigned long long>(seed), m_ticks, m_events, m_beeps, seconds);
        for (const auto& [number, count] : m_errorCounts)
            std::printf(" %d x%ld", number, count);
        std::printf("\nsoak: resident %ld KiB after warm-up, %ld KiB at the end\n", baseKiB, endKiB);
    }

private:
    static void bind(Sim& sim, auto& window)
    {
        sim.form = &window;
        sim.timer = &window.Timer1;
    }

    void record(rt::Form& form, const rt::RuntimeError& error)
    {
        EXPECT_TRUE(kKnownErrors.contains(error.code())) << "unknown error number " << error.code();
        const auto owner =
            std::find_if(m_sims.begin(), m_sims.end(), [&](const Sim& sim) { return sim.form == &form; });
        ASSERT_NE(owner, m_sims.end()) << "an error from a window that is not a simulation";
        // The runtime stops the failing window's timer before it reports.
        EXPECT_FALSE(owner->timer->isTicking()) << owner->name << " error " << error.code();
        m_errors.push_back(error.code());
        ++m_errorCounts[error.code()];
    }

    std::array<bool, 4> tickingNow() const
    {
        std::array<bool, 4> ticking{};
        for (std::size_t i = 0; i < m_sims.size(); ++i)
            ticking[i] = m_sims[i].timer->isTicking();
        return ticking;
    }

    // An event aimed at one window leaves the other windows' timers alone,
    // whatever error it raises.
    void expectOthersUntouched(std::size_t target, const std::array<bool, 4>& ticking) const
    {
        for (std::size_t i = 0; i < m_sims.size(); ++i)
            EXPECT_TRUE(i == target || m_sims[i].timer->isTicking() == ticking[i])
                << m_sims[i].name << " changed by an event for " << m_sims[target].name;
    }

    void fire(Sim& sim)
    {
        sim.timer->fire();
        ++m_ticks;
        EXPECT_LE(sim.form->displayList().size(), sim.maxPicture) << sim.name;
    }

    // Every running window gets one tick per round, in a random order.
    void tickRound(int rounds, std::uint64_t orderSeed)
    {
        std::array<std::size_t, 4> order{0, 1, 2, 3};
        std::mt19937_64 shuffler(orderSeed);
        for (int r = 0; r < rounds; ++r) {
            std::shuffle(order.begin(), order.end(), shuffler);
            for (const std::size_t i : order) {
                if (!m_sims[i].timer->isTicking())
                    continue;
                const std::array<bool, 4> ticking = tickingNow();
                fire(m_sims[i]);
                expectOthersUntouched(i, ticking);
            }
        }
    }

    static QPoint somewhereIn(const Sim& sim, std::uint64_t a)
    {
        const QSize size = sim.form->size();
        return {static_cast<int>(a % static_cast<unsigned>(size.width())),
                static_cast<int>((a >> 20) % static_cast<unsigned>(size.height()))};
    }

    // Through the window system, so the event reaches whatever lies under
    // the pointer: the window's surface or one of its controls.
    void move(Sim& sim, std::uint64_t a, std::uint64_t b, std::uint64_t c)
    {
        QWindow* window = sim.form->windowHandle();
        const QPoint from = somewhereIn(sim, a);
        if (b % 4 != 0)
            return QTest::mouseMove(window, from);
        // A drag over the surface, with the button held through the moves.
        const Qt::MouseButton button = (c % 2) ? Qt::LeftButton : Qt::RightButton;
        if (sim.form->childAt(from) != nullptr)
            return;
        QTest::mousePress(window, button, {}, from);
        for (int i = 0; i < 1 + static_cast<int>(b % 6); ++i)
            QTest::mouseMove(window, somewhereIn(sim, c >> (i * 8)));
        QTest::mouseRelease(window, button, {}, somewhereIn(sim, c >> 48));
    }

    void press(Sim& sim, std::uint64_t a, std::uint64_t b, std::uint64_t c)
    {
        static const Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        static const Qt::KeyboardModifiers kShifts[] = {Qt::NoModifier, Qt::ShiftModifier,
                                                        Qt::ControlModifier, Qt::AltModifier,
                                                        Qt::ShiftModifier | Qt::ControlModifier};
        const QPoint at = somewhereIn(sim, a);
        // Over a control only the left button: the others open a box's
        // own menu, which is Qt's business, not the program's.
        const Qt::MouseButton button = sim.form->childAt(at) != nullptr ? Qt::LeftButton : kButtons[b % 3];
        const Qt::KeyboardModifiers shift = kShifts[c % std::size(kShifts)];
        QTest::mousePress(sim.form->windowHandle(), button, shift, at);
        QTest::mouseRelease(sim.form->windowHandle(), button, shift, at);
    }

    void edit(Sim& sim, std::uint64_t a, std::uint64_t b, std::uint64_t c)
    {
        const std::size_t box = a % static_cast<std::size_t>(sim.boxCount);
        QLineEdit& text = sim.box(box);
        const bool nodeCount = sim.name == std::string("rubber cord") && box == 1;
        QString value;
        if (b % 3 == 0)
            value = QString::fromUtf8(kHostile[(b >> 8) % std::size(kHostile)]);
        else if (b % 97 == 1)
            value = QString(100000, QLatin1Char('9'));
        else
            value = ordinaryText(sim.defaults[box], box == 0, nodeCount, b >> 8);
        const bool ascii = std::all_of(value.begin(), value.end(),
                                       [](QChar ch) { return ch.unicode() >= 0x20 && ch.unicode() < 0x7F; });
        if (c % 4 == 0 && ascii && value.size() < 20) {
            // Typed key by key into an emptied box. (Not emptied by keys:
            // a box keeps the room its undo history once needed, and
            // deleting 32 767 typed-over characters needs half a megabyte.)
            text.setText(QString());
            text.setFocus();
            QTest::keyClicks(&text, value + QStringLiteral("0"));
            QTest::keyClick(&text, Qt::Key_Backspace);
            if ((c >> 8) % 5 == 0)
                QTest::keyClick(&text, Qt::Key_Return);
        } else {
            text.setText(value);
        }
        if ((c >> 16) % 2 == 0)
            clickChange(sim);
    }

    static void clickChange(Sim& sim) { QTest::mouseClick(&sim.form->button("Command1"), Qt::LeftButton); }

    void revive(Sim& sim)
    {
        for (std::size_t i = 0; i < sim.defaults.size(); ++i)
            sim.box(i).setText(sim.defaults[i]);
        clickChange(sim);
    }

    void closeWindow(std::size_t i)
    {
        m_sims[i].form->close();
        EXPECT_FALSE(m_sims[i].timer->isTicking()) << m_sims[i].name;
    }

    void openThroughLauncher(std::size_t i)
    {
        QTest::mouseClick(&m_launcher.button(m_sims[i].launcherButton), Qt::LeftButton);
    }

    std::mt19937_64 m_rng;
    Windows m_windows;
    frmMain m_launcher{m_windows};
    std::array<Sim, 4> m_sims{Sim{"rotation", "Command1", 3, 2}, Sim{"vibration", "Command2", 5, 42},
                              Sim{"two balls", "Command3", 7, 4}, Sim{"rubber cord", "Command4", 6, 302}};
    std::vector<int> m_errors;
    std::map<int, long> m_errorCounts;
    long m_ticks = 0, m_events = 0, m_beeps = 0;
};

// Qt's own complaints (a painter that cannot begin, a widget in a bad
// state) are faults too; the one the offscreen platform always gives for
// raise() is not.
std::vector<std::string> qtWarnings;

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg
        && !message.contains(QLatin1String("does not support raise()")))
        qtWarnings.push_back(message.toStdString());
}

TEST(Soak, FourWindowsThroughTheLauncherStayAliveAndFlat)
{
    const std::uint64_t seed = fromEnvironment("SPRINGLAB_SOAK_SEED", kDefaultSeed);
    const auto target = static_cast<long>(fromEnvironment("SPRINGLAB_SOAK_TICKS", kDefaultTicks));
    std::printf("soak: seed %llu (SPRINGLAB_SOAK_SEED replays it), %ld ticks\n",
                static_cast<unsigned long long>(seed), target);
    std::fflush(stdout);
    const QtMessageHandler previousHandler = qInstallMessageHandler(collectWarnings);
#if defined(__GLIBC__)
    // Large blocks straight from the system and back, so a box that held
    // 32 767 characters a moment ago leaves no hole in the heap behind.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024);
#endif
    const auto start = std::chrono::steady_clock::now();

    Soak soak(seed);
    soak.openEverything();
    ASSERT_FALSE(::testing::Test::HasFailure());

    long baseKiB = -1;
    std::size_t baseWidgets = 0;
    while (soak.ticks() < target && !::testing::Test::HasFailure()) {
        soak.step();
        if (baseKiB < 0 && soak.ticks() >= target / 4) {
            // Warm: measured with every window on its default texts, as at
            // the end.
            soak.bringAllBack();
            baseKiB = residentKiB();
            baseWidgets = QApplication::allWidgets().size();
        }
    }
    EXPECT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;

    soak.bringAllBack();
    const long endKiB = residentKiB();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    soak.report(seed, seconds.count(), baseKiB, endKiB);
    qInstallMessageHandler(previousHandler);

    EXPECT_GE(soak.ticks(), target);
    // The launcher and the four windows (the launcher's menus aside), and
    // no widget left over from a press, an edit or a reopened window.
    const auto topLevels = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(topLevels.begin(), topLevels.end(),
                            [](QWidget* w) { return qobject_cast<QMenu*>(w) == nullptr; }),
              5);
    EXPECT_EQ(static_cast<std::size_t>(QApplication::allWidgets().size()), baseWidgets);
    EXPECT_TRUE(qtWarnings.empty()) << qtWarnings.size() << " Qt warnings, the first: "
                                    << (qtWarnings.empty() ? "" : qtWarnings.front());
#if defined(__linux__) && !defined(SPRINGLAB_SOAK_SANITIZED)
    // (Under AddressSanitizer freed memory is held back on purpose, and
    // LeakSanitizer checks for leaks at exit instead.)
    ASSERT_GT(baseKiB, 0);
    EXPECT_LE(endKiB - baseKiB, kAllowedGrowthKiB) << "seed " << seed;
#endif
}

}  // namespace
