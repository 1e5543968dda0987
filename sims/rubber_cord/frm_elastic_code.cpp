#include "sims/rubber_cord/frm_elastic_code.h"

#include "runtime/numeric/convert.h"
#include "resources/icons.h"
#include "sims/rubber_cord/rubber_cord_picture.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using rt::ControlKind;

const rt::ControlDef kControls[] = {
    {ControlKind::Label, "Label1", QT_TRANSLATE_NOOP("frmElasticCode", "タイマー"), 6480, 960, 855, 375, 0},
    {ControlKind::TextBox, "Text1", "10", 7560, 960, 855, 270, 1},
    {ControlKind::CommandButton, "Command1", QT_TRANSLATE_NOOP("frmElasticCode", "変更"), 7440, 480, 975, 375, 2},
    {ControlKind::Label, "Label2", QT_TRANSLATE_NOOP("frmElasticCode", "節点の数"), 6480, 1320, 855, 375, 3},
    {ControlKind::TextBox, "Text2", "100", 7560, 1320, 855, 270, 4},
    {ControlKind::Label, "Label3", QT_TRANSLATE_NOOP("frmElasticCode", "節点間の長さ"), 6120, 1680, 1215, 255, 5},
    {ControlKind::TextBox, "Text3", "10", 7560, 1680, 855, 270, 6},
    {ControlKind::Label, "Label4", QT_TRANSLATE_NOOP("frmElasticCode", "重力"), 6840, 2040, 495, 255, 7},
    {ControlKind::TextBox, "Text4", "0.98", 7560, 2040, 855, 270, 8},
    {ControlKind::Label, "Label5", QT_TRANSLATE_NOOP("frmElasticCode", "粘性抵抗"), 6480, 2400, 855, 255, 9},
    {ControlKind::TextBox, "Text5", "0.05", 7560, 2400, 855, 270, 10},
    {ControlKind::Label, "Label6", QT_TRANSLATE_NOOP("frmElasticCode", "バネ定数"), 6480, 2760, 855, 255, 11},
    {ControlKind::TextBox, "Text6", "0.5", 7560, 2760, 855, 270, 12},
    {ControlKind::Label, "Label7", QT_TRANSLATE_NOOP("frmElasticCode", "領域内でクリックしてゴムひもを引っ張ります。"), 6240, 3120, 2295,
     495, 13, rt::RGB(255, 255, 192)},
};

constexpr int kClientWidth = 8670;   // twips
constexpr int kClientHeight = 4635;  // twips

}  // namespace

frmElasticCode::frmElasticCode()
    : Form("frmElasticCode", QT_TRANSLATE_NOOP("frmElasticCode", "ゴムひも"), kClientWidth, kClientHeight, kControls),
      Timer1(*this, [this] { Timer1_Timer(); }),
      Text1(textBox("Text1")),
      Text2(textBox("Text2")),
      Text3(textBox("Text3")),
      Text4(textBox("Text4")),
      Text5(textBox("Text5")),
      Text6(textBox("Text6"))
{
    setWindowIcon(springlabIcon(Icon::RubberCord));
    onClick(button("Command1"), [this] { Command1_Click(); });
    clickOnEnter(button("Command1"));
}

void frmElasticCode::InitSimulation()
{
    Timer1.setEnabled(false);
    Timer1.setInterval(rt::ToInt32(rt::Val(Text1.text())));
    const std::int16_t nodeCount = rt::ToInt16(rt::Val(Text2.text()));
    const double segmentLength = rt::Val(Text3.text());
    const double gravity = rt::Val(Text4.text());
    const double viscosity = rt::Val(Text5.text());
    const double stiffness = rt::Val(Text6.text());
    Chain.ResetChain(nodeCount, segmentLength, gravity, viscosity, stiffness);
    Timer1.setEnabled(true);
}

void frmElasticCode::Form_Load() { InitSimulation(); }

void frmElasticCode::Command1_Click() { InitSimulation(); }

void frmElasticCode::Form_MouseDown(int, int, float x, float y) { Chain.PullChain(x, y); }

void frmElasticCode::Timer1_Timer()
{
    // The step first: a diverging cord raises its error here, and the last
    // good picture stays on the screen.
    Chain.StepChain();

    rubber_cord::drawPicture(*this, Chain);
}
