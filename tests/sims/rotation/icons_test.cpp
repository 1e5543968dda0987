// The program's icons: every one is carried at every size, drawn rather than
// empty, all different, and the rotation window wears its own.

#include "tests/support/typed_windows.h"
#include "resources/icons.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Icons, EachComesDrawnAtEverySizeTheWindowSystemAsksForAndAllDiffer)
{
    std::vector<QImage> at32;
    for (Icon which : {Icon::Program, Icon::Rotation, Icon::RubberCord}) {
        SCOPED_TRACE(static_cast<int>(which));
        const QIcon icon = springlabIcon(which);
        ASSERT_FALSE(icon.isNull());
        for (int size : {16, 24, 32, 48, 64, 128}) {
            EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
            const QImage image = icon.pixmap(size, size).toImage();
            ASSERT_EQ(image.size(), QSize(size, size));
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 128;
            EXPECT_GT(opaque, size * size / 10) << size;
        }
        at32.push_back(icon.pixmap(32, 32).toImage());
    }
    EXPECT_NE(at32[0], at32[1]);
    EXPECT_NE(at32[0], at32[2]);
    EXPECT_NE(at32[1], at32[2]);
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
