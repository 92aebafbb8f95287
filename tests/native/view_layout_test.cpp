// A window's views over its monitors: where each lies in GL's window coordinates, which monitors
// get none, whether some of the window lies on no monitor and whether two views overlap.
#include "scene/view_layout.h"

#include <gtest/gtest.h>

static bool sameRect(const PixelRect& a, const PixelRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(ViewLayout, MonitorsOfDifferentSizesSideBySideLeaveTheStripUnderTheSmallerOneUncovered) {
    const PixelRect monitors[] = {{0, 0, 1280, 720}, {1280, 0, 1024, 768}};
    const ViewLayout layout = layOutViews(monitors, 2, 2304, 768);
    ASSERT_EQ(2, layout.count);
    EXPECT_TRUE(sameRect(PixelRect{0, 48, 1280, 720}, layout.views[0]));  // from the bottom edge
    EXPECT_TRUE(sameRect(PixelRect{1280, 0, 1024, 768}, layout.views[1]));
    EXPECT_FALSE(layout.fillsWindow);
    EXPECT_TRUE(layout.leavesGaps);
    EXPECT_FALSE(layout.overlaps);
}

TEST(ViewLayout, MonitorsThatTileTheWindowLeaveNoGap) {
    const PixelRect monitors[] = {{1920, 0, 1920, 1080}, {0, 0, 1920, 1080}};
    const ViewLayout layout = layOutViews(monitors, 2, 3840, 1080);
    ASSERT_EQ(2, layout.count);
    EXPECT_EQ(1920, layout.views[0].x);  // in the order listed
    EXPECT_FALSE(layout.leavesGaps);
}

TEST(ViewLayout, OneMonitorOrNoneThatFillsTheWindowIsTheWholeWindow) {
    const PixelRect whole = {0, 0, 1280, 720};
    for (int count : {0, 1}) {
        const ViewLayout layout = layOutViews(&whole, count, 1280, 720);
        ASSERT_EQ(1, layout.count);
        EXPECT_TRUE(sameRect(whole, layout.views[0]));
        EXPECT_TRUE(layout.fillsWindow);
        EXPECT_FALSE(layout.leavesGaps);
    }
}

TEST(ViewLayout, MirroredAndOffWindowMonitorsGetNoViewAndOverhangsAreCut) {
    const PixelRect monitors[] = {{0, 0, 800, 600},     {0, 0, 800, 600},  // a mirror
                                  {100, 100, 200, 200},                    // inside the first
                                  {5000, 0, 800, 600},                     // off the window
                                  {800, -100, 800, 800}};                  // over the top edge
    const ViewLayout layout = layOutViews(monitors, 5, 1600, 600);
    ASSERT_EQ(2, layout.count);
    EXPECT_TRUE(sameRect(PixelRect{800, 0, 800, 600}, layout.views[1]));
    EXPECT_FALSE(layout.leavesGaps);
    EXPECT_FALSE(layout.overlaps);
}

TEST(ViewLayout, MonitorsThatPartlyOverlapBothKeepTheirViews) {
    const PixelRect monitors[] = {{0, 0, 1024, 768}, {1000, 0, 1024, 768}};
    const ViewLayout layout = layOutViews(monitors, 2, 2024, 768);
    EXPECT_EQ(2, layout.count);
    EXPECT_TRUE(layout.overlaps);
    EXPECT_FALSE(layout.leavesGaps);
}

TEST(ViewLayout, OneMonitorSmallerThanTheWindowLeavesTheRestToBeCleared) {
    const PixelRect monitor = {0, 0, 1024, 768};
    const ViewLayout layout = layOutViews(&monitor, 1, 2304, 768);
    ASSERT_EQ(1, layout.count);
    EXPECT_FALSE(layout.fillsWindow);
    EXPECT_TRUE(layout.leavesGaps);
}
