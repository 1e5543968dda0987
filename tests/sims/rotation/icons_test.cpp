// The program's icons: every one is carried at every size, the small sizes
// are the drawings made for them, and the rotation window wears its own.

#include "frm_rotaion.h"
#include "icons.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

class EveryIcon : public ::testing::TestWithParam<Icon> {};

TEST_P(EveryIcon, ComesAtEachSizeTheWindowSystemAsksFor)
{
    const QIcon icon = springlabIcon(GetParam());
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 24, 32, 48, 64, 128}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
        // Drawn, not empty: some pixels are opaque, the corners are not all.
        const QImage image = icon.pixmap(size, size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(opaque, size * size / 10) << size;
    }
}

INSTANTIATE_TEST_SUITE_P(Icons, EveryIcon,
                         ::testing::Values(Icon::Program, Icon::Rotation, Icon::RubberCord),
                         [](const auto& info) {
                             switch (info.param) {
                             case Icon::Program:
                                 return "Program";
                             case Icon::Rotation:
                                 return "Rotation";
                             case Icon::RubberCord:
                                 return "RubberCord";
                             }
                             return "Unknown";
                         });

TEST(Icons, AreDistinct)
{
    const QImage program = springlabIcon(Icon::Program).pixmap(32, 32).toImage();
    const QImage rotation = springlabIcon(Icon::Rotation).pixmap(32, 32).toImage();
    const QImage cord = springlabIcon(Icon::RubberCord).pixmap(32, 32).toImage();
    EXPECT_NE(program, rotation);
    EXPECT_NE(program, cord);
    EXPECT_NE(rotation, cord);
}

TEST(Icons, TheRotationWindowWearsTheRotationIcon)
{
    frmRotaion window;
    const QImage worn = window.windowIcon().pixmap(32, 32).toImage();
    EXPECT_EQ(worn, springlabIcon(Icon::Rotation).pixmap(32, 32).toImage());
    // The red mass at the upper right, the ground transparent in the corner.
    EXPECT_EQ(QColor(worn.pixel(25, 6)).rgb(), QColor(255, 0, 0).rgb());
    EXPECT_EQ(qAlpha(worn.pixel(0, 31)), 0);
}

}  // namespace
