// Every window as its design tables give it: caption, client area, each
// control's kind, caption or default text, place and size in twips (and in
// pixels on the screen, 15 twips to one), the tab order as the Tab key walks
// it, and the pale yellow of the help notes in real pixels.

#include "shell/frm_main.h"
#include "tests/support/typed_windows.h"
#include "shell/window_set.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using rt::ControlKind;
constexpr auto Label = ControlKind::Label;
constexpr auto Box = ControlKind::TextBox;
constexpr auto Button = ControlKind::CommandButton;

struct Control {
    const char* name;
    ControlKind kind;
    const char* text;
    int left, top, width, height, tabIndex;
    bool paleYellow = false;
};

struct Design {
    const char* name;
    std::function<std::unique_ptr<rt::Form>()> make;
    const char* caption;
    int width, height;  // client area, twips
    std::vector<Control> controls;
};

// The launcher needs the windows it opens, made before it.
struct WindowsFirst {
    Windows windows;
};
class Launcher : private WindowsFirst, public frmMain {
public:
    Launcher() : frmMain(windows) {}
};

const Design kDesigns[] = {
    {"Launcher", [] { return std::make_unique<Launcher>(); }, "バネ関係", 3720, 3090,
     {{"Command1", Button, "ゴムひもで回転", 360, 360, 3135, 495, 0},
      {"Command2", Button, "バネの振動", 360, 960, 3135, 495, 1},
      {"Command3", Button, "バネでつながった2個のボール", 360, 1560, 3135, 495, 2},
      {"Command4", Button, "ゴムひも", 360, 2160, 3135, 495, 3}}},
    {"Vibration", [] { return std::make_unique<frmVibration>(); }, "バネの振動", 3900, 4515,
     {{"Label1", Label, "タイマー", 1440, 600, 1095, 255, 0},
      {"Text1", Box, "10", 2520, 600, 1095, 270, 1},
      {"Label2", Label, "長さ", 1440, 960, 1095, 255, 2},
      {"Text2", Box, "200", 2520, 960, 1095, 270, 3},
      {"Label3", Label, "バネ定数", 1440, 1320, 1095, 255, 4},
      {"Text3", Box, "5", 2520, 1320, 1095, 270, 5},
      {"Label4", Label, "重さ", 1440, 1680, 1095, 255, 6},
      {"Text4", Box, "500", 2520, 1680, 1095, 270, 7},
      {"Command1", Button, "変更", 2520, 240, 1095, 255, 8},
      {"Label5", Label, "粘性抵抗", 1440, 2160, 975, 375, 9},
      {"Text5", Box, "0.002", 2520, 2160, 1095, 270, 10},
      {"Label6", Label, "クリックして，ボールを引っ張ります。", 1800, 2640, 1815, 495, 11, true}}},
    {"Rotation", [] { return std::make_unique<frmRotaion>(); }, "ゴム紐で回転", 6150, 3090,
     {{"Command1", Button, "変更", 4080, 240, 1575, 375, 0},
      {"Text1", Box, "10", 5040, 720, 615, 270, 1},
      {"Label1", Label, "タイマー", 4080, 720, 735, 255, 2},
      {"Label2", Label, "バネ定数", 4080, 1080, 855, 375, 3},
      {"Text2", Box, "0.02", 5040, 1080, 735, 270, 4},
      {"Label3", Label, "緩和係数", 4080, 1440, 975, 255, 5},
      {"Text3", Box, "0.99", 5040, 1440, 735, 270, 6}}},
    {"TwoBalls", [] { return std::make_unique<frm2Bolls>(); }, "バネでつながった2つのボール", 8685, 5895,
     {{"Command1", Button, "変更", 7680, 240, 855, 255, 2},
      {"Label1", Label, "タイマー", 6600, 600, 975, 375, 0},
      {"Text1", Box, "10", 7680, 600, 855, 270, 1},
      {"Label2", Label, "バネの長さ", 6480, 960, 1215, 375, 3},
      {"Text2", Box, "300", 7680, 960, 855, 270, 4},
      {"Label7", Label, "バネの強さ", 6480, 1320, 1095, 255, 13},
      {"Text7", Box, "10", 7680, 1320, 855, 270, 14},
      {"Label3", Label, "抵抗", 6480, 1680, 1215, 375, 5},
      {"Text3", Box, "0.02", 7680, 1680, 855, 270, 6},
      {"Label4", Label, "質量１", 6480, 2040, 1215, 375, 7},
      {"Text4", Box, "1500", 7680, 2040, 855, 270, 8},
      {"Label5", Label, "質量2", 6480, 2400, 1215, 375, 9},
      {"Text5", Box, "200", 7680, 2400, 855, 270, 10},
      {"Label6", Label, "重力", 6480, 2760, 1215, 375, 11},
      {"Text6", Box, "0.98", 7680, 2760, 855, 270, 12},
      {"Label8", Label, "フォーム内でクリックして，大きなボールを引っ張ります。", 480, 5040, 4575, 375, 15, true}}},
    {"RubberCord", [] { return std::make_unique<frmElasticCode>(); }, "ゴムひも", 8670, 4635,
     {{"Label1", Label, "タイマー", 6480, 960, 855, 375, 0},
      {"Text1", Box, "10", 7560, 960, 855, 270, 1},
      {"Command1", Button, "変更", 7440, 480, 975, 375, 2},
      {"Label2", Label, "節点の数", 6480, 1320, 855, 375, 3},
      {"Text2", Box, "100", 7560, 1320, 855, 270, 4},
      {"Label3", Label, "節点間の長さ", 6120, 1680, 1215, 255, 5},
      {"Text3", Box, "10", 7560, 1680, 855, 270, 6},
      {"Label4", Label, "重力", 6840, 2040, 495, 255, 7},
      {"Text4", Box, "0.98", 7560, 2040, 855, 270, 8},
      {"Label5", Label, "粘性抵抗", 6480, 2400, 855, 255, 9},
      {"Text5", Box, "0.05", 7560, 2400, 855, 270, 10},
      {"Label6", Label, "バネ定数", 6480, 2760, 855, 255, 11},
      {"Text6", Box, "0.5", 7560, 2760, 855, 270, 12},
      {"Label7", Label, "領域内でクリックしてゴムひもを引っ張ります。", 6240, 3120, 2295, 495, 13, true}}},
};

std::vector<Control> inTabOrder(std::vector<Control> controls)
{
    std::sort(controls.begin(), controls.end(),
              [](const Control& a, const Control& b) { return a.tabIndex < b.tabIndex; });
    return controls;
}

QString textOf(const QWidget& widget)
{
    if (auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    if (auto* box = qobject_cast<const QLineEdit*>(&widget))
        return box->text();
    if (auto* button = qobject_cast<const QPushButton*>(&widget))
        return button->text();
    return QStringLiteral("(no text)");
}

bool isKind(const QWidget& widget, ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
        return qobject_cast<const QLabel*>(&widget) != nullptr;
    case ControlKind::TextBox:
        return qobject_cast<const QLineEdit*>(&widget) != nullptr;
    case ControlKind::CommandButton:
        return qobject_cast<const QPushButton*>(&widget) != nullptr;
    }
    return false;
}

class DesignTable : public ::testing::TestWithParam<Design> {
protected:
    void SetUp() override
    {
        form = GetParam().make();
        form->Show();
    }
    void TearDown() override { form->close(); }

    std::unique_ptr<rt::Form> form;
};

TEST_P(DesignTable, CaptionAndClientArea)
{
    const Design& d = GetParam();
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8(d.caption));
    EXPECT_EQ(form->clientWidthTwips(), d.width);
    EXPECT_EQ(form->clientHeightTwips(), d.height);
    // The launcher's menu bar stands above its client area, which keeps
    // its size; the other windows have none (clientTop() is 0).
    EXPECT_EQ(form->size(), QSize(d.width / 15, form->clientTop() + d.height / 15));
}

TEST_P(DesignTable, EveryControlWithItsTextPlaceAndSize)
{
    const Design& d = GetParam();
    for (const Control& c : d.controls) {
        SCOPED_TRACE(c.name);
        const QWidget& widget = form->control(c.name);
        EXPECT_TRUE(isKind(widget, c.kind));
        EXPECT_EQ(textOf(widget), QString::fromUtf8(c.text));
        const rt::ControlDef& design = form->controlDesign(c.name);
        EXPECT_EQ(design.kind, c.kind);
        EXPECT_EQ(QRect(design.left, design.top, design.width, design.height),
                  QRect(c.left, c.top, c.width, c.height))
            << "twips";
        EXPECT_EQ(design.tabIndex, c.tabIndex);
        EXPECT_EQ(widget.geometry(),
                  QRect(c.left / 15, form->clientTop() + c.top / 15, c.width / 15, c.height / 15))
            << "pixels";
        EXPECT_TRUE(widget.isVisible());
    }
    // Nothing else stands on the window.
    int controls = 0;
    for (const QObject* child : form->children())
        if (qobject_cast<const QLabel*>(child) || qobject_cast<const QLineEdit*>(child)
            || qobject_cast<const QPushButton*>(child))
            ++controls;
    EXPECT_EQ(controls, static_cast<int>(d.controls.size()));
}

TEST_P(DesignTable, EditedTextsComeBackAfterCloseAndShow)
{
    const Design& d = GetParam();
    for (const Control& c : d.controls)
        if (c.kind == Box)
            form->textBox(c.name).setText(QStringLiteral("99"));
    form->close();
    form->Show();
    for (const Control& c : d.controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textOf(form->control(c.name)), QString::fromUtf8(c.text));
    }
}

TEST_P(DesignTable, FocusChainFollowsTheTabIndices)
{
    // Every control, labels included, stands in the chain by its tab index.
    std::vector<QString> expected, chain;
    for (const Control& c : inTabOrder(GetParam().controls))
        expected.push_back(QString::fromUtf8(c.name));
    for (QWidget* w = form->nextInFocusChain(); w != form.get() && chain.size() < 40; w = w->nextInFocusChain())
        if (w->parentWidget() == form.get() && !qobject_cast<QMenuBar*>(w))
            chain.push_back(w->objectName());
    EXPECT_EQ(chain, expected);
}

TEST_P(DesignTable, TabKeyWalksTheControlsThatTakeTheFocus)
{
    // Labels take no focus: the first control by tab index that is not a
    // label has it when the window opens, and Tab goes round the others in
    // their order, back to the first.
    std::vector<QString> expected;
    for (const Control& c : inTabOrder(GetParam().controls))
        if (c.kind != Label)
            expected.push_back(QString::fromUtf8(c.name));
    expected.push_back(expected.front());

    std::vector<QString> walked;
    QWidget* focus = form->focusWidget();
    ASSERT_NE(focus, nullptr);
    walked.push_back(focus->objectName());
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = form->focusWidget();
        ASSERT_NE(focus, nullptr);
        walked.push_back(focus->objectName());
    }
    EXPECT_EQ(walked, expected);
}

TEST_P(DesignTable, HelpNotesArePaleYellowAndOtherLabelsAreNot)
{
    const QImage picture = form->grab().toImage();
    const QRgb paleYellow = qRgb(255, 255, 192);
    for (const Control& c : GetParam().controls) {
        if (c.kind != Label)
            continue;
        SCOPED_TRACE(c.name);
        const QRect area = form->control(c.name).geometry();
        int yellow = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                yellow += (picture.pixel(x, y) & 0xFFFFFF) == (paleYellow & 0xFFFFFF) ? 1 : 0;
        const int all = area.width() * area.height();
        if (c.paleYellow)
            EXPECT_GT(yellow, all / 2) << yellow << " of " << all;
        else
            EXPECT_EQ(yellow, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, DesignTable, ::testing::ValuesIn(kDesigns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
