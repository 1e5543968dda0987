#include "frm_main.h"

#include "frm_elastic_code.h"
#include "frm_rotaion.h"
#include "frm_two_bolls.h"
#include "frm_vibration.h"
#include "icons.h"
#include "windows.h"

#include <QPushButton>

namespace {

using rt::ControlKind;

const rt::ControlDef kControls[] = {
    {ControlKind::CommandButton, "Command1", QT_TRANSLATE_NOOP("frmMain", "ゴムひもで回転"), 360, 360, 3135, 495, 0},
    {ControlKind::CommandButton, "Command2", QT_TRANSLATE_NOOP("frmMain", "バネの振動"), 360, 960, 3135, 495, 1},
    {ControlKind::CommandButton, "Command3", QT_TRANSLATE_NOOP("frmMain", "バネでつながった2個のボール"), 360, 1560, 3135, 495, 2},
    {ControlKind::CommandButton, "Command4", QT_TRANSLATE_NOOP("frmMain", "ゴムひも"), 360, 2160, 3135, 495, 3},
};

}  // namespace

frmMain::frmMain(Windows& windows)
    : Form("frmMain", QT_TRANSLATE_NOOP("frmMain", "バネ関係"), 3720, 3090, kControls), m_windows(windows)
{
    setWindowIcon(springlabIcon(Icon::Program));
    onClick(button("Command1"), [this] { Command1_Click(); });
    onClick(button("Command2"), [this] { Command2_Click(); });
    onClick(button("Command3"), [this] { Command3_Click(); });
    onClick(button("Command4"), [this] { Command4_Click(); });
}

void frmMain::Command1_Click() { m_windows.rotation().Show(); }

void frmMain::Command2_Click() { m_windows.vibration().Show(); }

void frmMain::Command3_Click() { m_windows.twoBalls().Show(); }

void frmMain::Command4_Click() { m_windows.rubberCord().Show(); }
