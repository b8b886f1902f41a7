#include <gtest/gtest.h>

#include "viewer/prefetch_plan.h"
#include "viewer/viewer_geometry.h"

TEST(FitZoom, FitsOnlyPicturesLargerThanTheScreen) {
    struct Case {
        int w, h, sw, sh, zoom, expected;
    };
    const Case cases[] = {
        {4000, 3000, 1920, 1080, 1000, 360},   // labelled 4000*3000 [36%]
        {800, 600, 1920, 1080, 1000, 1000},    // smaller: opens at 100%
        {1920, 1080, 1920, 1080, 1000, 1000},  // exactly the screen
        {800, 600, 1920, 1080, 2500, 2500},    // unchanged when it fits
        {1000, 4000, 1024, 700, 1000, 175},    // portrait: the height decides
        {0, 0, 1024, 700, 1000, 1000},         // no picture: unchanged
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitZoom(c.w, c.h, c.sw, c.sh, c.zoom), c.expected) << c.w << "x" << c.h;
}

TEST(ZoomSteps, StopAtTheLimits) {
    EXPECT_EQ(ZoomInStep(1000), 1030);
    EXPECT_EQ(ZoomInStep(10000), 10000);
    EXPECT_EQ(ZoomInStep(9800), 10000);
    EXPECT_EQ(ZoomOutStep(1000), 970);
    int zoom = 360;
    for (int i = 0; i < 100; ++i) zoom = ZoomOutStep(zoom);
    EXPECT_EQ(zoom, 100);
}

TEST(AnchoredZoom, KeepsTheAnchoredPointStill) {
    // About the centre of a 1000-wide screen: a picture from 300 to 700
    // doubled in width runs from 100 to 900.
    EXPECT_EQ(AnchoredEdge(500, 300, 400, 800), 100);
    // About a pointer at 300 (the picture's left edge) the edge stays.
    EXPECT_EQ(AnchoredEdgeF(300, 300, 400, 800, true), 300);
    // About a pointer inside the picture: (310 - 0) * 1.03 -> 319.3 from 310.
    EXPECT_EQ(AnchoredEdgeF(310, 100, 1000, 1030, false), 93);  // 310 - 216.3 -> 93.7 cut
    EXPECT_EQ(AnchoredEdgeF(310, 100, 1000, 1030, true), 94);   // rounded while animating
    EXPECT_EQ(AnchoredEdge(500, 300, 0, 800), 300);             // nothing drawn yet
}

TEST(Strip, CoversTheWidthAndClampsToTheList) {
    const StripRange middle = StripIndices(50, 100, 1024);  // k = 14
    EXPECT_EQ(middle.first, 36);
    EXPECT_EQ(middle.last, 63);
    const StripRange start = StripIndices(0, 3, 1024);
    EXPECT_EQ(start.first, 0);
    EXPECT_EQ(start.last, 2);
    EXPECT_EQ(StripCell(52, 50, QSize(1024, 700)), QRect(572, 600, 40, 40));
}

TEST(Strip, ClickMovesByTheCellsBetweenItAndTheCentre) {
    const int w = 1000;  // c = 500
    struct Case {
        int x, step;
    };
    const Case cases[] = {{500, 0}, {520, 0}, {521, 1},  {559, 1},  {561, 2},  {600, 3},  {639, 3},
                          {640, 4}, {480, 0}, {479, -1}, {441, -1}, {439, -2}, {380, -3}, {0, -13}};
    for (const Case& c : cases) EXPECT_EQ(StripStep(c.x, w), c.step) << "x = " << c.x;
    EXPECT_TRUE(InStripBand(620, 700));
    EXPECT_FALSE(InStripBand(600, 700));
    EXPECT_FALSE(InStripBand(640, 700));
}

TEST(ButtonBar, HasExclusiveBounds) {
    const QSize client(1000, 700);  // c = 500
    EXPECT_TRUE(InButtonBar({257, 551}, client));
    EXPECT_FALSE(InButtonBar({256, 600}, client));
    EXPECT_FALSE(InButtonBar({806, 600}, client));
    EXPECT_FALSE(InButtonBar({500, 550}, client));
    EXPECT_FALSE(InButtonBar({500, 688}, client));
}

TEST(WindowedMode, KeepsTheWindowOnTheScreen) {
    // A small picture in the middle: the frame wraps it.
    EXPECT_EQ(WindowAroundPicture(QRect(300, 200, 400, 300), 1024, 700), QRect(291, 169, 418, 338));
    // A picture reaching past the screen: at least 9 from the left, 31 from
    // the top, and ending 40 above the bottom.
    const QRect big = WindowAroundPicture(QRect(-100, -50, 2000, 1500), 1024, 700);
    EXPECT_EQ(big.left(), 0);
    EXPECT_EQ(big.top(), 0);
    EXPECT_EQ(big.width(), 1024 - 9 - 9 + 18);
    EXPECT_EQ(big.top() + 31 + big.height() - 38, 700 - 47);
}

TEST(PrefetchPlan, LoadsTheCurrentPhotoFirstThenItsNeighbours) {
    struct Case {
        SlotIndices held;
        int current, count;
        std::array<bool, 3> evict;
        int slot, index;
    };
    const Case cases[] = {
        {{-1, -1, -1}, 5, 10, {}, 0, 5},                  // empty cache: the current one
        {{5, -1, -1}, 5, 10, {}, 1, 6},                   // then the next
        {{5, 6, -1}, 5, 10, {}, 2, 4},                    // then the previous
        {{5, 6, 4}, 5, 10, {}, -1, -1},                   // all three: nothing to do
        {{5, 6, 4}, 6, 10, {false, false, true}, 2, 7},   // stepped: 4 is far, 7 goes there
        {{1, 2, 3}, 8, 10, {true, true, true}, 0, 8},     // jumped: everything far goes
        {{4, 4, -1}, 7, 10, {true, true, false}, 0, 7},   // far duplicates
        {{6, 6, -1}, 5, 10, {true, false, false}, 0, 5},  // a duplicate is emptied
        {{9, -1, -1}, 9, 10, {}, 1, 8},                   // the last photo has no next
        {{0, -1, -1}, 0, 1, {}, -1, -1},                  // the only photo
        {{-1, -1, -1}, 0, 0, {}, -1, -1},                 // empty list
    };
    for (const Case& c : cases) {
        const PrefetchStep step = PlanPrefetchStep(c.held, c.current, c.count);
        EXPECT_EQ(step.evict, c.evict) << c.held[0] << "," << c.held[1] << "," << c.held[2];
        EXPECT_EQ(step.slot, c.slot) << c.held[0] << "," << c.held[1] << "," << c.held[2];
        EXPECT_EQ(step.photoIndex, c.index);
    }
}

TEST(PrefetchPlan, RemovalEmptiesTheRemovedSlotAndShiftsTheOnesAbove) {
    EXPECT_EQ(ShiftAfterRemoval({4, 5, 6}, 5), (SlotIndices{4, -1, 5}));
    EXPECT_EQ(ShiftAfterRemoval({8, 9, -1}, 9), (SlotIndices{8, -1, -1}));
    EXPECT_EQ(ShiftAfterRemoval({0, 1, -1}, 0), (SlotIndices{-1, 0, -1}));
}
