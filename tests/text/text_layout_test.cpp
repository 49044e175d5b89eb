// Where the HUD writes the distance to the cat, how large, and in which band.
#include "text/text_layout.h"

#include <gtest/gtest.h>

namespace ruma {
namespace {

TEST(HudLayout, BandsLabelsAndPositions)
{
    struct Case {
        int distance, band;
        const char* label;
        int x, y, size;
        bool run;
    };
    const Case cases[] = {
        {0, kBandClose, "0m", 1190, 660, 35, true},   // the first frame of play
        {9, kBandClose, "4m", 1190, 660, 35, true},
        {10, kBandNormal, "5m", 1221, 675, 20, false},
        {19, kBandNormal, "9m", 1221, 675, 20, false},
        {20, kBandFar, "10m", 1225, 685, 15, false},
        {201, kBandFar, "100m", 1210, 685, 15, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        const HudLayout layout = layoutHud(c.distance, 1280, 720);
        EXPECT_EQ(layout.band, c.band);
        EXPECT_EQ(layout.label, c.label);
        EXPECT_EQ(std::vector<int>({layout.labelX, layout.labelY, layout.labelSize}), std::vector<int>({c.x, c.y, c.size}));
        EXPECT_EQ(layout.showRun, c.run);
        if (c.run) {
            EXPECT_EQ(std::vector<int>({layout.runX, layout.runY}), std::vector<int>({c.x, 720 - 75}));
        }
    }
    // Another window size moves the label with the upper-right corner.
    const HudLayout small = layoutHud(25, 640, 360);
    EXPECT_EQ(small.labelX, 640 - 45 - 10);
    EXPECT_EQ(small.labelY, 325);
}

} // namespace
} // namespace ruma
