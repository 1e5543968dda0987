#include "sims/two_balls/two_balls_experiment.h"

#include "runtime/numeric/runtime_error.h"
#include "runtime/numeric/val.h"
#include "sims/two_balls/two_balls_picture.h"
#include "sims/two_balls/two_balls_quantities.h"

namespace two_balls {
namespace {

using rt::ControlKind;

constexpr const char* kHint = QT_TRANSLATE_NOOP("frm2Bolls", "フォーム内でクリックして，大きなボールを引っ張ります。");

// Listed top to bottom as on the screen; the tab order puts the
// spring-strength pair after gravity, as the window has always had it.
const rt::ControlDef kControls[] = {
    {ControlKind::CommandButton, "Command1", QT_TRANSLATE_NOOP("frm2Bolls", "変更"), 7680, 240, 855, 255, 2},
    {ControlKind::Label, "Label1", QT_TRANSLATE_NOOP("frm2Bolls", "タイマー"), 6600, 600, 975, 375, 0},
    {ControlKind::TextBox, "Text1", "10", 7680, 600, 855, 270, 1},
    {ControlKind::Label, "Label2", QT_TRANSLATE_NOOP("frm2Bolls", "バネの長さ"), 6480, 960, 1215, 375, 3},
    {ControlKind::TextBox, "Text2", "300", 7680, 960, 855, 270, 4},
    {ControlKind::Label, "Label7", QT_TRANSLATE_NOOP("frm2Bolls", "バネの強さ"), 6480, 1320, 1095, 255, 13},
    {ControlKind::TextBox, "Text7", "10", 7680, 1320, 855, 270, 14},
    {ControlKind::Label, "Label3", QT_TRANSLATE_NOOP("frm2Bolls", "抵抗"), 6480, 1680, 1215, 375, 5},
    {ControlKind::TextBox, "Text3", "0.02", 7680, 1680, 855, 270, 6},
    {ControlKind::Label, "Label4", QT_TRANSLATE_NOOP("frm2Bolls", "質量１"), 6480, 2040, 1215, 375, 7},
    {ControlKind::TextBox, "Text4", "1500", 7680, 2040, 855, 270, 8},
    {ControlKind::Label, "Label5", QT_TRANSLATE_NOOP("frm2Bolls", "質量2"), 6480, 2400, 1215, 375, 9},
    {ControlKind::TextBox, "Text5", "200", 7680, 2400, 855, 270, 10},
    {ControlKind::Label, "Label6", QT_TRANSLATE_NOOP("frm2Bolls", "重力"), 6480, 2760, 1215, 375, 11},
    {ControlKind::TextBox, "Text6", "0.98", 7680, 2760, 855, 270, 12},
    {ControlKind::Label, "Label8", kHint, 480, 5040, 4575, 375, 15, rt::RGB(255, 255, 192)},
};

// Top to bottom as the window shows them; InitSimulation reads them as
// Text1, Text2, Text3, Text7, Text6, Text4, Text5.
const sims::Parameter kParameters[] = {
    {"timer", "Text1", "Label1"},     {"length", "Text2", "Label2"}, {"stiffness", "Text7", "Label7"},
    {"resistance", "Text3", "Label3"}, {"mass1", "Text4", "Label4"}, {"mass2", "Text5", "Label5"},
    {"gravity", "Text6", "Label6"},
};
enum Box { Timer, Length, Stiffness, Resistance, Mass1, Mass2, Gravity };

}  // namespace

void Experiment::initSimulation(sims::Host& host, sims::Texts t)
{
    host.setTimerEnabled(false);
    host.setTimerInterval(sims::timerInterval(t[Timer]));
    Balls.RestLength = rt::Val(t[Length]);
    Balls.Resistance = rt::Val(t[Resistance]);
    Balls.Stiffness = rt::Val(t[Stiffness]);
    Balls.Gravity = rt::Val(t[Gravity]);
    Balls.Ball1.Mass = rt::Val(t[Mass1]);
    Balls.Ball2.Mass = rt::Val(t[Mass2]);
    // Positions only: balls that were moving leave the start at once.
    Balls.ResetBalls();
    host.setTimerEnabled(true);
}

void Experiment::tick(sims::Host& host, rt::Canvas& canvas)
{
    try {
        const Bounces bounces = Balls.StepBalls();
        if (bounces.Ball1)
            host.beep();
        if (bounces.Ball2)
            host.beep();

        drawPicture(canvas, Balls);

        // Asked after the picture: the last picture shows the balls where
        // the step left them, at most 5 units above the floors they are put
        // on.
        if (Balls.TestAtRest())
            host.setTimerEnabled(false);
    } catch (const rt::RuntimeError&) {
        // The motion that ran away is void: "変更" keeps the balls'
        // velocities, and an overflowing one carried into the next run would
        // fail it at once, so the pair stops here and the next run starts
        // from rest.
        Balls.Ball1.VelocityX = 0;
        Balls.Ball1.VelocityY = 0;
        Balls.Ball2.VelocityX = 0;
        Balls.Ball2.VelocityY = 0;
        throw;
    }
}

void Experiment::mouseDown(sims::Host& host, float x, float y, sims::Texts t)
{
    // Any button grabs. The timer box is read again, so a press also
    // applies an edited tick period (and no other box).
    host.setTimerEnabled(false);
    Balls.GrabBall1(x, y);
    host.setTimerInterval(sims::timerInterval(t[Timer]));
    host.setTimerEnabled(true);
}

void Experiment::sample(std::span<double> row) const { sims::sampleInto(quantities(), Balls, row); }

std::vector<double> Experiment::carried() const
{
    return {Balls.Ball1.VelocityX, Balls.Ball1.VelocityY, Balls.Ball2.VelocityX, Balls.Ball2.VelocityY};
}

void Experiment::carry(std::span<const double> v)
{
    Balls.Ball1.VelocityX = v[0];
    Balls.Ball1.VelocityY = v[1];
    Balls.Ball2.VelocityX = v[2];
    Balls.Ball2.VelocityY = v[3];
}

const sims::Definition& definition()
{
    static const std::vector<sims::QuantityInfo> infos = sims::infosOf(quantities());
    static const sims::Definition d{
        .name = "two-balls",
        .formName = "frm2Bolls",
        .caption = QT_TRANSLATE_NOOP("frm2Bolls", "バネでつながった2つのボール"),
        .clientWidth = 8685,
        .clientHeight = 5895,
        .controls = kControls,
        .parameters = kParameters,
        .quantityContext = "TwoBallsQuantities",
        .quantities = infos,
        .icon = "program",
        .launcherButton = "Command3",
        .make = sims::makeOf<Experiment>,
    };
    return d;
}

}  // namespace two_balls
