#include "sims/rotation/rotation_experiment.h"

#include "runtime/numeric/val.h"
#include "sims/rotation/rotation_picture.h"
#include "sims/rotation/rotation_quantities.h"

namespace rotation {
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

const sims::Parameter kParameters[] = {
    {"timer", "Text1", "Label1"},
    {"stiffness", "Text2", "Label2"},
    {"relax", "Text3", "Label3"},
};

}  // namespace

void Experiment::initSimulation(sims::Host& host, sims::Texts t)
{
    // The timer goes off first and on last, so every call starts a fresh
    // period and also ends a freeze left by a press. The pointer is not
    // touched: the cord starts from wherever the pointer was last seen. The
    // timer box is read last.
    host.setTimerEnabled(false);
    Mass.Reset();
    Mass.NegStiffness = -rt::Val(t[1]);
    Mass.Relax = rt::Val(t[2]);
    host.setTimerInterval(sims::timerInterval(t[0]));
    host.setTimerEnabled(true);
}

void Experiment::tick(sims::Host&, rt::Canvas& canvas)
{
    // Cleared before the step, so a step that fails leaves an empty picture
    // rather than a stale one.
    canvas.Cls();

    Mass.Step();

    // The cord in the pen colour, the mass as a red disc with a pen rim.
    drawPicture(canvas, Mass);
}

// Any press freezes the picture; only "変更" starts it again.
void Experiment::mouseDown(sims::Host& host, float, float, sims::Texts) { host.setTimerEnabled(false); }

// With or without a button held: the cord's end follows the pointer even
// while the animation is frozen.
void Experiment::mouseMove(sims::Host&, float x, float y) { Mass.MovePointer(x, y); }

void Experiment::sample(std::span<double> row) const { sims::sampleInto(quantities(), Mass, row); }

std::vector<double> Experiment::carried() const { return {Mass.MouseX, Mass.MouseY}; }

void Experiment::carry(std::span<const double> v)
{
    Mass.MouseX = v[0];
    Mass.MouseY = v[1];
}

const sims::Definition& definition()
{
    static const std::vector<sims::QuantityInfo> infos = sims::infosOf(quantities());
    static const sims::Definition d{
        .name = "rotation",
        .formName = "frmRotaion",
        .caption = QT_TRANSLATE_NOOP("frmRotaion", "ゴム紐で回転"),
        .clientWidth = 6150,
        .clientHeight = 3090,
        .controls = kControls,
        .parameters = kParameters,
        .quantityContext = "RotationQuantities",
        .quantities = infos,
        .icon = "rotation",
        .launcherButton = "Command1",
        .make = sims::makeOf<Experiment>,
    };
    return d;
}

}  // namespace rotation
