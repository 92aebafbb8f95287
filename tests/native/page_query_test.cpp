#include "host/page_query.h"

#include <gtest/gtest.h>

#include <string>

TEST(PageQuery, ReadsTheCommandLinesNamesAndValues) {
    const PageQuery query = readPageQuery("?count=500&view-angle=top-down&currency=euro&max-fps=30");
    EXPECT_EQ("", query.message);
    ASSERT_TRUE(query.overrides.noteCountGiven && query.overrides.viewAngleGiven &&
                query.overrides.currencyGiven && query.frameCapGiven);
    EXPECT_EQ(500, query.overrides.values.noteCount);
    EXPECT_EQ(TopDown, query.overrides.values.viewAngle);
    EXPECT_EQ(Euros, query.overrides.values.currencyType);
    EXPECT_EQ(30, query.framesPerSecondCap);
    // Percent-encoded as a browser may send it, without the '?', and the last one decides.
    const PageQuery encoded = readPageQuery("view%2Dangle=bottom%2dup&count=80&count=1500&max-fps=0");
    EXPECT_EQ(BottomUp, encoded.overrides.values.viewAngle);
    EXPECT_EQ(1500, encoded.overrides.values.noteCount);
    EXPECT_TRUE(encoded.frameCapGiven);
    EXPECT_EQ(kNoFrameCap, encoded.framesPerSecondCap);
    const PageQuery none = readPageQuery("");
    EXPECT_FALSE(none.overrides.noteCountGiven || none.overrides.viewAngleGiven ||
                 none.overrides.currencyGiven || none.frameCapGiven);
}

TEST(PageQuery, ABadValueNamesItsParameterAndGivesNothing) {
    const PageQuery query =
        readPageQuery("?count=74&view-angle=sideways&max-fps=1001&currency=yen%00");
    EXPECT_EQ("count: '74' is not a number from 75 to 1500\n"
              "view-angle: 'sideways' is not bottom-up, front-on, top-down or random\n"
              "max-fps: '1001' is not a number from 0 (no cap) to 1000\n"
              "currency: 'yen%00' is not australian, american or euro",
              query.message);
    EXPECT_FALSE(query.overrides.noteCountGiven || query.overrides.viewAngleGiven ||
                 query.overrides.currencyGiven || query.frameCapGiven);
    EXPECT_EQ("count: '+5' is not a number from 75 to 1500", readPageQuery("count=%2B5").message);
    EXPECT_EQ("count: ' 500' is not a number from 75 to 1500", readPageQuery("count=+500").message);
    EXPECT_FALSE(readPageQuery("count=200%00x").overrides.noteCountGiven);
    EXPECT_EQ("max-fps: '' is not a number from 0 (no cap) to 1000",
              readPageQuery("max-fps").message);
}

TEST(PageQuery, ATypoOfOurNamesIsToldAndOtherNamesAreLeftAlone) {
    const PageQuery query = readPageQuery("?cont=500&viewangle=random&max_fps=30&fbclid=x&utm_source=y&n=3");
    EXPECT_EQ("cont: no such setting; did you mean count?\n"
              "viewangle: no such setting; did you mean view-angle?\n"
              "max_fps: no such setting; did you mean max-fps?",
              query.message);
    EXPECT_FALSE(query.overrides.noteCountGiven || query.overrides.viewAngleGiven ||
                 query.frameCapGiven);
}

// Case never matters, only the last of a name counts or is told, and the notice stays short
// however long the address.
TEST(PageQuery, CaseRepeatsAndLengthFollowTheRules) {
    const PageQuery any = readPageQuery("?COUNT=abc&Count=300&currency=Euro&VIEW-ANGLE=TOP-DOWN&Max-FPS=25");
    EXPECT_EQ("", any.message);
    EXPECT_EQ(300, any.overrides.values.noteCount);
    EXPECT_EQ(Euros, any.overrides.values.currencyType);
    EXPECT_EQ(TopDown, any.overrides.values.viewAngle);
    EXPECT_EQ(25, any.framesPerSecondCap);
    const PageQuery lastBad = readPageQuery("count=300&count=abc");
    EXPECT_EQ("count: 'abc' is not a number from 75 to 1500", lastBad.message);
    EXPECT_FALSE(lastBad.overrides.noteCountGiven);

    std::string repeated;
    for (int i = 0; i < 20000; ++i) repeated += "cont=1&";
    EXPECT_EQ("Cont: no such setting; did you mean count?",
              readPageQuery((repeated + "Cont=2").c_str()).message);
    EXPECT_EQ("cont: no such setting; did you mean count?\n"
              "count: 'x' is not a number from 75 to 1500\n"
              "curency: no such setting; did you mean currency?\n"
              "and 2 more",
              readPageQuery("cont=1&count=x&curency=y&viewangle=z&max-fps=-1").message);
}
