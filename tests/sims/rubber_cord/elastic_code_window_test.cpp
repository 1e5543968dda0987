// The rubber-cord window, driven as a user would: boxes, "変更", presses,
// and ticks called directly.

#include "tests/support/typed_windows.h"
#include "resources/icons.h"
#include "runtime/forms/render.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using rt::DrawOp;

constexpr rt::Color kOlive = rt::RGB(127, 127, 0);
constexpr rt::Color kBlack = rt::RGB(0, 0, 0);

class ElasticCodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt::setErrorReporter([this](rt::Form&, const rt::RuntimeError& e) { errors.push_back(e.code()); });
        window = std::make_unique<frmElasticCode>();
        window->Show();
    }
    void TearDown() override { rt::resetErrorReporter(); }

    void type(const char* box, const char* text)
    {
        QLineEdit& edit = window->textBox(box);
        edit.clear();
        QTest::keyClicks(&edit, QString::fromUtf8(text));
    }
    void clickChange() { QTest::mouseClick(&window->button("Command1"), Qt::LeftButton); }
    void tick() { window->Timer1.fire(); }
    float drawnX(int node) const { return static_cast<float>(3 * window->Chain.node(node).X); }
    float drawnY(int node) const { return static_cast<float>(3 * window->Chain.node(node).Y); }

    std::unique_ptr<frmElasticCode> window;
    std::vector<int> errors;
};

TEST_F(ElasticCodeTest, LoadStartsTheTimerAndDrawsNothing)
{
    // (The caption is checked with the launcher's buttons.)
    EXPECT_EQ(window->size(), QSize(578, 309));
    EXPECT_EQ(window->windowIcon().pixmap(32, 32).toImage(),
              springlabIcon(Icon::RubberCord).pixmap(32, 32).toImage());
    EXPECT_EQ(window->Timer1.Interval(), 10);
    EXPECT_TRUE(window->Timer1.isTicking());
    EXPECT_TRUE(window->displayList().empty());
    EXPECT_EQ(window->focusWidget(), &window->textBox("Text1"));
    // Tab order follows the tab indices: the button between Text1 and Text2.
    auto nextTabStop = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus);
        return w;
    };
    EXPECT_EQ(nextTabStop(&window->textBox("Text1")), &window->button("Command1"));
    EXPECT_EQ(nextTabStop(&window->button("Command1")), &window->textBox("Text2"));
    EXPECT_EQ(nextTabStop(&window->textBox("Text6")), &window->textBox("Text1"));
}

TEST_F(ElasticCodeTest, FirstPictureIsTheFrameAndACordAlongItsTopEdge)
{
    tick();
    const auto& ops = window->displayList();
    ASSERT_EQ(ops.size(), 102u);  // frame, the pen placed on node 0, 100 segments

    const DrawOp frame{DrawOp::Kind::Box, 180, 180, 5580, 4166, kOlive, 0, false, 1};
    EXPECT_EQ(ops[0], frame);
    const DrawOp start{DrawOp::Kind::Line, drawnX(0), drawnY(0), drawnX(0), drawnY(0),
                       window->ForeColor, 0, false, 5};
    EXPECT_EQ(ops[1], start);
    for (int i = 1; i <= 100; ++i) {
        const DrawOp segment{DrawOp::Kind::Line, drawnX(i - 1), drawnY(i - 1), drawnX(i), drawnY(i),
                             kBlack, 0, false, 5};
        EXPECT_EQ(ops[static_cast<std::size_t>(i) + 1], segment) << "segment " << i;
        EXPECT_EQ(drawnY(i), static_cast<float>(3 * 60.98));
    }
    EXPECT_NEAR(ops.back().x2, 2989, 1);  // the free end, 100 segments on
}

TEST_F(ElasticCodeTest, PictureReachesThePixels)
{
    tick();
    const QImage image = window->grab().toImage();
    auto at = [&](int x, int y) { return rt::fromQColor(image.pixelColor(x, y)); };
    EXPECT_TRUE(at(11, 150) == kOlive || at(12, 150) == kOlive);  // the frame's left edge
    EXPECT_EQ(at(static_cast<int>(drawnX(50) / 15), static_cast<int>(drawnY(50) / 15)), kBlack);
    EXPECT_EQ(at(200, 150), window->BackColor);  // the inside of the frame is not filled
    EXPECT_EQ(at(565, 239), rt::RGB(255, 255, 192));  // the help note's pale yellow
}

TEST_F(ElasticCodeTest, PressRightOfTheFrameDrawsNodeZeroBeyondItForOneTick)
{
    tick();
    // (7050, 300) twips: in the controls' column, above the button. The
    // last pass pulls node 0 about 470 twips back towards node 1, so the
    // pointer must lie well beyond the frame for the node to show outside.
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(470, 20));
    tick();
    EXPECT_GT(window->displayList()[1].x1, 5580);
    tick();
    EXPECT_LE(window->displayList()[1].x1, 5580);
}

TEST_F(ElasticCodeTest, SingleNodeDrawsOnlyTheFrameAndItsDot)
{
    type("Text2", "0");
    clickChange();
    tick();
    const auto& ops = window->displayList();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1].x1, 180);
    EXPECT_EQ(ops[1].x2, 180);
}

TEST_F(ElasticCodeTest, EditingWithoutChangeChangesNothing)
{
    type("Text2", "5");
    type("Text3", "50");
    type("Text4", "3");
    tick();
    EXPECT_EQ(window->displayList().size(), 102u);
    EXPECT_EQ(window->Chain.node(0).Y, 60.98);
    EXPECT_EQ(window->Chain.parameters().SegmentLength, 10);
}

TEST_F(ElasticCodeTest, DivergingCordKeepsTheLastPicture)
{
    tick();
    const std::vector<DrawOp> last = window->displayList();
    type("Text6", "1e300");
    clickChange();
    tick();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0] == 6 || errors[0] == 16) << errors[0];
    EXPECT_EQ(window->displayList(), last);
    EXPECT_FALSE(window->Timer1.isTicking());
}

}  // namespace
