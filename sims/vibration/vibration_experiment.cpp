#include "sims/vibration/vibration_experiment.h"

#include "runtime/numeric/val.h"
#include "sims/vibration/vibration_picture.h"
#include "sims/vibration/vibration_quantities.h"

namespace vibration {
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

// Top to bottom, which is also the order InitSimulation reads them.
const sims::Parameter kParameters[] = {
    {"timer", "Text1", "Label1"},
    {"length", "Text2", "Label2"},
    {"stiffness", "Text3", "Label3"},
    {"mass", "Text4", "Label4"},
    {"viscosity", "Text5", "Label5"},
};

}  // namespace

void Experiment::initSimulation(sims::Host& host, sims::Texts t)
{
    host.setTimerEnabled(false);
    host.setTimerInterval(sims::timerInterval(t[0]));
    Spring.RestLength = rt::Val(t[1]);
    Spring.Stiffness = rt::Val(t[2]);
    Spring.Mass = rt::Val(t[3]);
    Spring.Viscosity = rt::Val(t[4]);
    Spring.Reset();
    host.setTimerEnabled(true);
}

void Experiment::tick(sims::Host&, rt::Canvas& canvas)
{
    Spring.Step();

    drawPicture(canvas, Spring);
}

void Experiment::mouseDown(sims::Host&, float x, float, sims::Texts) { Spring.Pull(x); }

void Experiment::sample(std::span<double> row) const { sims::sampleInto(quantities(), Spring, row); }

const sims::Definition& definition()
{
    static const std::vector<sims::QuantityInfo> infos = sims::infosOf(quantities());
    static const sims::Definition d{
        .name = "vibration",
        .formName = "frmVibration",
        .caption = QT_TRANSLATE_NOOP("frmVibration", "バネの振動"),
        .clientWidth = 3900,
        .clientHeight = 4515,
        .controls = kControls,
        .parameters = kParameters,
        .quantityContext = "VibrationQuantities",
        .quantities = infos,
        .icon = "program",
        .launcherButton = "Command2",
        .make = sims::makeOf<Experiment>,
    };
    return d;
}

}  // namespace vibration
