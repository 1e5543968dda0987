// The window and `springlab run` with the same inputs write the same CSV,
// byte for byte: the window driven through its boxes, "変更", presses and
// moves in pixels and its timer's ticks, recorded with the same recorder.

#include "cli/cli.h"
#include "measure/csv.h"
#include "tests/support/headless_run.h"
#include "tests/support/typed_windows.h"
#include "sims/rotation/rotation_quantities.h"
#include "sims/rubber_cord/rubber_cord_quantities.h"
#include "sims/two_balls/two_balls_quantities.h"
#include "sims/vibration/vibration_quantities.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <sstream>

namespace {

constexpr int kTwipsPerPixel = 15;

struct Input {
    int tick;  // after this tick; 0 before the first
    bool press;
    int xPixels;
    int yPixels;
};

struct Case {
    const char* name;
    const char* experiment;
    std::vector<std::pair<const char*, const char*>> sets;  // key or label, text
    int ticks;
    std::vector<Input> inputs;
    int status = 0;  // of the run
};

// A window with its timer and the sampling of its model.
struct Driven {
    std::unique_ptr<rt::Form> form;
    rt::Timer* timer = nullptr;
    std::function<void(std::span<double>)> sample;
};

template <class Window, class Table, class View>
Driven drive(Table table, View view)
{
    auto window = std::make_unique<Window>();
    Window* w = window.get();
    return {std::move(window), &w->Timer1, [w, table, view](std::span<double> row) {
                sims::sampleInto(table, view(*w), row);
            }};
}

Driven driven(std::string_view experiment)
{
    if (experiment == "vibration")
        return drive<frmVibration>(vibration::quantities(), [](frmVibration& w) -> auto& { return w.Spring; });
    if (experiment == "rotation")
        return drive<frmRotaion>(rotation::quantities(), [](frmRotaion& w) -> auto& { return w.Mass; });
    if (experiment == "two-balls")
        return drive<frm2Bolls>(two_balls::quantities(), [](frm2Bolls& w) -> auto& { return w.Balls; });
    return drive<frmElasticCode>(rubber_cord::quantities(),
                                 [](frmElasticCode& w) { return rubber_cord::measureCord(w.Chain); });
}

std::string windowCsv(const Case& c)
{
    const auto experiment = makeRun(c.experiment);
    Driven d = driven(c.experiment);
    std::vector<int> errors;
    rt::setErrorReporter([&errors](rt::Form&, const rt::RuntimeError& e) { errors.push_back(e.code()); });
    d.form->Show();
    for (auto [key, text] : c.sets) {
        const std::string box(experiment->definition().parameters[static_cast<std::size_t>(sims::findParameter(experiment->definition(), key))].box);
        d.form->textBox(box.c_str()).setText(QString::fromUtf8(text));
    }
    QTest::mouseClick(&d.form->button("Command1"), Qt::LeftButton);
    std::vector<std::string> texts;
    for (const sims::Parameter& p : experiment->definition().parameters)
        texts.push_back(d.form->textBox(std::string(p.box).c_str()).text().toStdString());

    auto applyInputs = [&](int tick) {
        for (const Input& in : c.inputs) {
            if (in.tick != tick)
                continue;
            const QPoint at(in.xPixels, in.yPixels);
            if (in.press)
                QTest::mousePress(d.form.get(), Qt::LeftButton, {}, at);
            else
                QTest::mouseMove(d.form.get(), at);
        }
    };
    measure::Recorder recorder(experiment->definition().quantities.size());
    applyInputs(0);
    for (int tick = 1; tick <= c.ticks && errors.empty() && d.timer->Enabled(); ++tick) {
        d.timer->fire();
        if (!errors.empty())
            break;
        recorder.append(tick, d.sample);
        applyInputs(tick);
    }
    // Leave the pointer where no case moves it, so the next case's first
    // move is a real one.
    QTest::mouseMove(d.form.get(), QPoint(d.form->width() - 1, d.form->height() - 1));
    d.form->close();
    rt::resetErrorReporter();

    std::vector<int> all(experiment->definition().quantities.size());
    std::iota(all.begin(), all.end(), 0);
    std::string text;
    const sims::Definition& definition = experiment->definition();
    measure::writeCsv({definition.name, measure::parametersOf(definition, texts), definition.quantities,
                       definition.quantityContext, all, &recorder},
                      [&text](std::string_view piece) { text.append(piece); });
    return text;
}

std::string cliCsv(const Case& c, int& status)
{
    std::vector<std::string> args = {"run", c.experiment, "--ticks", std::to_string(c.ticks), "--csv", "-"};
    for (auto [key, text] : c.sets)
        args.insert(args.end(), {"--set", std::string(key) + "=" + text});
    for (const Input& in : c.inputs)
        args.insert(args.end(), {in.press ? "--press" : "--move",
                                 std::to_string(in.tick) + ":" + std::to_string(in.xPixels * kTwipsPerPixel) + ","
                                     + std::to_string(in.yPixels * kTwipsPerPixel)});
    std::ostringstream out, err;
    status = cli::main(args, out, err);
    return out.str();
}

class WindowMatchesRun : public ::testing::TestWithParam<Case> {};

TEST_P(WindowMatchesRun, SameCsvByteForByte)
{
    int status = 0;
    const std::string fromRun = cliCsv(GetParam(), status);
    const std::string fromWindow = windowCsv(GetParam());
    EXPECT_EQ(fromWindow, fromRun);
    EXPECT_EQ(status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Experiments, WindowMatchesRun,
    ::testing::Values(
        Case{"VibrationPulled", "vibration", {{"length", "150"}, {"重さ", "250"}}, 120, {{40, true, 20, 10}}},
        Case{"VibrationDividesByZero", "vibration", {{"mass", "0"}, {"length", "100"}}, 50, {{0, true, 30, 10}}, 3},
        Case{"RotationFollowsThePointerThenFreezes",
             "rotation",
             {{"relax", "0.95"}},
             200,
             {{0, false, 200, 100}, {30, false, 100, 150}, {90, false, 40, 40}, {90, true, 40, 40}}},
        Case{"RotationOverflows", "rotation", {{"緩和係数", "1.5"}}, 3000, {{0, false, 200, 100}}, 3},
        Case{"TwoBallsGrabbedThenAtRest", "two-balls", {{"gravity", "1.5"}}, 2000, {{100, true, 100, 150}}},
        Case{"RubberCordYanked", "rubber-cord", {{"nodes", "30"}, {"segment_length", "15"}}, 60, {{20, true, 50, 50}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
