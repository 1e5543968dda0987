#include "sims/vibration/frm_vibration.h"

#include "runtime/numeric/convert.h"
#include "resources/icons.h"
#include "sims/vibration/vibration_picture.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using rt::ControlKind;

const rt::ControlDef kControls[] = {
    {ControlKind::Label, "Label1", QT_TRANSLATE_NOOP("frmVibration", "タイマー"), 1440, 600, 1095, 255, 0},
    {ControlKind::TextBox, "Text1", "10", 2520, 600, 1095, 270, 1},
    {ControlKind::Label, "Label2", QT_TRANSLATE_NOOP("frmVibration", "長さ"), 1440, 960, 1095, 255, 2},
    {ControlKind::TextBox, "Text2", "200", 2520, 960, 1095, 270, 3},
    {ControlKind::Label, "Label3", QT_TRANSLATE_NOOP("frmVibration", "バネ定数"), 1440, 1320, 1095, 255, 4},
    {ControlKind::TextBox, "Text3", "5", 2520, 1320, 1095, 270, 5},
    {ControlKind::Label, "Label4", QT_TRANSLATE_NOOP("frmVibration", "重さ"), 1440, 1680, 1095, 255, 6},
    {ControlKind::TextBox, "Text4", "500", 2520, 1680, 1095, 270, 7},
    {ControlKind::CommandButton, "Command1", QT_TRANSLATE_NOOP("frmVibration", "変更"), 2520, 240, 1095, 255, 8},
    {ControlKind::Label, "Label5", QT_TRANSLATE_NOOP("frmVibration", "粘性抵抗"), 1440, 2160, 975, 375, 9},
    {ControlKind::TextBox, "Text5", "0.002", 2520, 2160, 1095, 270, 10},
    {ControlKind::Label, "Label6", QT_TRANSLATE_NOOP("frmVibration", "クリックして，ボールを引っ張ります。"), 1800, 2640, 1815, 495, 11,
     rt::RGB(255, 255, 192)},
};


}  // namespace

frmVibration::frmVibration()
    : Form("frmVibration", QT_TRANSLATE_NOOP("frmVibration", "バネの振動"), 3900, 4515, kControls),
      Timer1(*this, [this] { Timer1_Timer(); }),
      Text1(textBox("Text1")),
      Text2(textBox("Text2")),
      Text3(textBox("Text3")),
      Text4(textBox("Text4")),
      Text5(textBox("Text5"))
{
    setWindowIcon(springlabIcon(Icon::Program));
    onClick(button("Command1"), [this] { Command1_Click(); });
    clickOnEnter(button("Command1"));
}

void frmVibration::InitSimulation()
{
    Timer1.setEnabled(false);
    Timer1.setInterval(rt::ToInt32(rt::Val(Text1.text())));
    RestLength = rt::Val(Text2.text());
    Stiffness = rt::Val(Text3.text());
    Mass = rt::Val(Text4.text());
    Viscosity = rt::Val(Text5.text());
    Spring.Reset();
    Timer1.setEnabled(true);
}

void frmVibration::Form_Load() { InitSimulation(); }

void frmVibration::Command1_Click() { InitSimulation(); }

void frmVibration::Timer1_Timer()
{
    Spring.Step();

    vibration::drawPicture(*this, Spring);
}

void frmVibration::Form_MouseDown(int, int, float x, float)
{
    Spring.Pull(x);
}
