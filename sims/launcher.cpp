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

const LauncherMenus& launcherMenus()
{
    static const LauncherMenus menus{
        .view = QT_TRANSLATE_NOOP("frmMain", "表示(&V)"),
        .zoom = QT_TRANSLATE_NOOP("frmMain", "倍率(&Z)"),
        .language = "言語 / &Language",
        .measure = QT_TRANSLATE_NOOP("frmMain", "計測(&M)"),
        .record = QT_TRANSLATE_NOOP("frmMain", "記録(&R)"),
        .replay = QT_TRANSLATE_NOOP("frmMain", "再生(&P)..."),
        .help = QT_TRANSLATE_NOOP("frmMain", "ヘルプ(&H)"),
        .about = QT_TRANSLATE_NOOP("frmMain", "バージョン情報(&A)"),
        .aboutTitle = QT_TRANSLATE_NOOP("frmMain", "バージョン情報"),
    };
    return menus;
}

const AboutTexts& aboutTexts()
{
    static const AboutTexts texts{
        .description = QT_TRANSLATE_NOOP("frmMain", "バネとおもりの4つの実験を動かして見せる、授業のためのプログラムです。"),
        .licence = QT_TRANSLATE_NOOP("frmMain", "ライセンス: GNU 一般公衆利用許諾書 第3版以降 "
                                                "(GPL-3.0-or-later)"),
    };
    return texts;
}

}  // namespace sims
