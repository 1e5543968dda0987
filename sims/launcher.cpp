#include "sims/launcher.h"

#include "sims/experiment.h"  // QT_TRANSLATE_NOOP without Qt

namespace sims {

namespace {

using rt::ControlKind;

const rt::ControlDef kControls[] = {
    {ControlKind::CommandButton, "Command1", QT_TRANSLATE_NOOP("frmMain", "ゴムひもで回転"), 360, 360, 3135, 495, 0},
    {ControlKind::CommandButton, "Command2", QT_TRANSLATE_NOOP("frmMain", "バネの振動"), 360, 960, 3135, 495, 1},
    {ControlKind::CommandButton, "Command3", QT_TRANSLATE_NOOP("frmMain", "バネでつながった2個のボール"), 360, 1560, 3135, 495, 2},
    {ControlKind::CommandButton, "Command4", QT_TRANSLATE_NOOP("frmMain", "ゴムひも"), 360, 2160, 3135, 495, 3},
};

}  // namespace

const rt::FormDesign& launcher()
{
    static const rt::FormDesign design{
        .formName = "frmMain",
        .caption = QT_TRANSLATE_NOOP("frmMain", "バネ関係"),
        .clientWidth = 3720,
        .clientHeight = 3090,
        .controls = kControls,
    };
    return design;
}

}  // namespace sims
