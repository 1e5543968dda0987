#include "sims/rotation/frm_rotaion.h"

#include "runtime/numeric/convert.h"
#include "resources/icons.h"
#include "sims/rotation/rotation_picture.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using rt::ControlKind;

// Listed in tab order: the button takes the focus when the window opens.
const rt::ControlDef kControls[] = {
    {ControlKind::CommandButton, "Command1", QT_TRANSLATE_NOOP("frmRotaion", "変更"), 4080, 240, 1575, 375, 0},
    {ControlKind::TextBox, "Text1", "10", 5040, 720, 615, 270, 1},
    {ControlKind::Label, "Label1", QT_TRANSLATE_NOOP("frmRotaion", "タイマー"), 4080, 720, 735, 255, 2},
    {ControlKind::Label, "Label2", QT_TRANSLATE_NOOP("frmRotaion", "バネ定数"), 4080, 1080, 855, 375, 3},
    {ControlKind::TextBox, "Text2", "0.02", 5040, 1080, 735, 270, 4},
    {ControlKind::Label, "Label3", QT_TRANSLATE_NOOP("frmRotaion", "緩和係数"), 4080, 1440, 975, 255, 5},
    {ControlKind::TextBox, "Text3", "0.99", 5040, 1440, 735, 270, 6},
};


}  // namespace

frmRotaion::frmRotaion()
    : Form("frmRotaion", QT_TRANSLATE_NOOP("frmRotaion", "ゴム紐で回転"), 6150, 3090, kControls),
      Timer1(*this, [this] { Timer1_Timer(); }),
      Text1(textBox("Text1")),
      Text2(textBox("Text2")),
      Text3(textBox("Text3"))
{
    setWindowIcon(springlabIcon(Icon::Rotation));
    onClick(button("Command1"), [this] { Command1_Click(); });
    clickOnEnter(button("Command1"));
}

void frmRotaion::InitSimulation()
{
    // The timer goes off first and on last, so every call starts a fresh
    // period and also ends a freeze left by a press. The pointer is not
    // touched: the cord starts from wherever the pointer was last seen.
    Timer1.setEnabled(false);
    Mass.Reset();
    NegStiffness = -rt::Val(Text2.text());
    Relax = rt::Val(Text3.text());
    Timer1.setInterval(rt::ToInt32(rt::Val(Text1.text())));
    Timer1.setEnabled(true);
}

void frmRotaion::Form_Load() { InitSimulation(); }

void frmRotaion::Command1_Click() { InitSimulation(); }

void frmRotaion::Form_MouseDown(int, int, float, float)
{
    // Any press freezes the picture; only "変更" starts it again.
    Timer1.setEnabled(false);
}

void frmRotaion::Form_MouseMove(int, int, float x, float y)
{
    // With or without a button held: the cord's end follows the pointer even
    // while the animation is frozen.
    Mass.MovePointer(x, y);
}

void frmRotaion::Timer1_Timer()
{
    // Cleared before the step, so a step that fails leaves an empty picture
    // rather than a stale one.
    Cls();

    Mass.Step();

    // The cord in the pen colour, the mass as a red disc with a pen rim.
    rotation::drawPicture(*this, Mass);
}
