#include "sims/rubber_cord/rubber_cord_experiment.h"

#include "runtime/numeric/convert.h"
#include "runtime/numeric/val.h"
#include "sims/rubber_cord/rubber_cord_picture.h"
#include "sims/rubber_cord/rubber_cord_quantities.h"

namespace rubber_cord {
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

// Top to bottom, which is also the order InitSimulation reads them.
const sims::Parameter kParameters[] = {
    {"timer", "Text1", "Label1"},         {"nodes", "Text2", "Label2"},     {"segment_length", "Text3", "Label3"},
    {"gravity", "Text4", "Label4"},       {"viscosity", "Text5", "Label5"}, {"stiffness", "Text6", "Label6"},
};

}  // namespace

void Experiment::initSimulation(sims::Host& host, sims::Texts t)
{
    host.setTimerEnabled(false);
    host.setTimerInterval(sims::timerInterval(t[0]));
    const std::int16_t nodeCount = rt::ToInt16(rt::Val(t[1]));
    const double segmentLength = rt::Val(t[2]);
    const double gravity = rt::Val(t[3]);
    const double viscosity = rt::Val(t[4]);
    const double stiffness = rt::Val(t[5]);
    Chain.ResetChain(nodeCount, segmentLength, gravity, viscosity, stiffness);
    host.setTimerEnabled(true);
}

void Experiment::tick(sims::Host&, rt::Canvas& canvas)
{
    // The step first: a diverging cord raises its error here, and the last
    // good picture stays on the screen.
    Chain.StepChain();

    drawPicture(canvas, Chain);
}

void Experiment::mouseDown(sims::Host&, float x, float y, sims::Texts) { Chain.PullChain(x, y); }

void Experiment::sample(std::span<double> row) const { sims::sampleInto(quantities(), measureCord(Chain), row); }

const sims::Definition& definition()
{
    static const std::vector<sims::QuantityInfo> infos = sims::infosOf(quantities());
    static const sims::Definition d{
        .name = "rubber-cord",
        .formName = "frmElasticCode",
        .caption = QT_TRANSLATE_NOOP("frmElasticCode", "ゴムひも"),
        .clientWidth = 8670,
        .clientHeight = 4635,
        .controls = kControls,
        .parameters = kParameters,
        .quantityContext = "RubberCordQuantities",
        .quantities = infos,
        .icon = "rubber-cord",
        .launcherButton = "Command4",
        .make = sims::makeOf<Experiment>,
    };
    return d;
}

}  // namespace rubber_cord
