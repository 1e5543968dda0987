#include "sims/two_balls/frm_two_bolls.h"

#include "resources/icons.h"
#include "sims/two_balls/two_balls_picture.h"

#include "runtime/numeric/convert.h"

#include <QLineEdit>
#include <QPushButton>

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

}  // namespace

frm2Bolls::frm2Bolls()
    : Form("frm2Bolls", QT_TRANSLATE_NOOP("frm2Bolls", "バネでつながった2つのボール"), 8685, 5895, kControls),
      Timer1(*this, [this] { Timer1_Timer(); }),
      Text1(textBox("Text1")),
      Text2(textBox("Text2")),
      Text3(textBox("Text3")),
      Text4(textBox("Text4")),
      Text5(textBox("Text5")),
      Text6(textBox("Text6")),
      Text7(textBox("Text7"))
{
    setWindowIcon(springlabIcon(Icon::Program));
    onClick(button("Command1"), [this] { Command1_Click(); });
    clickOnEnter(button("Command1"));
}

void frm2Bolls::InitSimulation()
{
    Timer1.setEnabled(false);
    Timer1.setInterval(rt::ToInt32(rt::Val(Text1.text())));
    Balls.RestLength = rt::Val(Text2.text());
    Balls.Resistance = rt::Val(Text3.text());
    Balls.Stiffness = rt::Val(Text7.text());
    Balls.Gravity = rt::Val(Text6.text());
    Balls.Ball1.Mass = rt::Val(Text4.text());
    Balls.Ball2.Mass = rt::Val(Text5.text());
    // Positions only: balls that were moving leave the start at once.
    Balls.ResetBalls();
    Timer1.setEnabled(true);
}

void frm2Bolls::Form_Load() { InitSimulation(); }

void frm2Bolls::Command1_Click() { InitSimulation(); }

void frm2Bolls::Timer1_Timer()
{
    try {
        tick();
    } catch (const rt::RuntimeError&) {
        // The runtime stops the timer and reports the error. The motion that
        // ran away is void: "変更" keeps the balls' velocities, and an
        // overflowing one carried into the next run would fail it at once,
        // so the pair stops here and the next run starts from rest.
        Balls.Ball1.VelocityX = 0;
        Balls.Ball1.VelocityY = 0;
        Balls.Ball2.VelocityX = 0;
        Balls.Ball2.VelocityY = 0;
        throw;
    }
}

void frm2Bolls::tick()
{
    const two_balls::Bounces bounces = Balls.StepBalls();
    if (bounces.Ball1)
        rt::Beep();
    if (bounces.Ball2)
        rt::Beep();

    two_balls::drawPicture(*this, Balls);

    // Asked after the picture: the last picture shows the balls where the
    // step left them, at most 5 units above the floors they are put on.
    if (Balls.TestAtRest())
        Timer1.setEnabled(false);
}

void frm2Bolls::Form_MouseDown(int, int, float x, float y)
{
    // Any button grabs. The timer box is read again, so a press also
    // applies an edited tick period (and no other box).
    Timer1.setEnabled(false);
    Balls.GrabBall1(x, y);
    Timer1.setInterval(rt::ToInt32(rt::Val(Text1.text())));
    Timer1.setEnabled(true);
}
