// The recent list's three cases and the demo names of empty entries; the ".orv" rule.

#include "testplan/recent_plans.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

RecentPlans Listed() {
    return {"p1.orv", "p2.orv", "p3.orv", "p4.orv", "p5.orv", "p6.orv", "p7.orv", "p8.orv"};
}

TEST(RecentPlansTest, TheFirstEntryStaysWhereItIs) {
    RecentPlans recent = Listed();
    EXPECT_EQ(BringToTop(recent, "p1.orv"), RecentChange::None);
    EXPECT_EQ(recent, Listed());
}

TEST(RecentPlansTest, AListedNameMovesToTheTopAndTheRestKeepTheirPlaces) {
    RecentPlans recent = Listed();
    EXPECT_EQ(BringToTop(recent, "p3.orv"), RecentChange::Reordered);
    EXPECT_EQ(recent, (RecentPlans{"p3.orv", "p1.orv", "p2.orv", "p4.orv", "p5.orv", "p6.orv",
                                   "p7.orv", "p8.orv"}));
    recent = Listed();
    EXPECT_EQ(BringToTop(recent, "p8.orv"), RecentChange::Reordered);
    EXPECT_EQ(recent[0], "p8.orv");
    EXPECT_EQ(recent[7], "p7.orv");
    // Matching is exact: another letter case is another name.
    recent = Listed();
    EXPECT_EQ(BringToTop(recent, "P3.orv"), RecentChange::Added);
}

TEST(RecentPlansTest, ANewNamePushesTheEighthOutAndEmptyEntriesShowDemoNames) {
    RecentPlans recent = Listed();
    EXPECT_EQ(BringToTop(recent, "new.orv"), RecentChange::Added);
    EXPECT_EQ(recent, (RecentPlans{"new.orv", "p1.orv", "p2.orv", "p3.orv", "p4.orv", "p5.orv",
                                   "p6.orv", "p7.orv"}));
    recent = {"a.orv", "", "c.orv", "", "", "", "", "h.orv"};
    EXPECT_EQ(BringToTop(recent, ""), RecentChange::Reordered);  // the last empty one
    recent = {"a.orv", "", "c.orv", "", "", "", "", "h.orv"};
    EXPECT_EQ(BringToTop(recent, "n.orv"), RecentChange::Added);
    EXPECT_EQ(recent, (RecentPlans{"n.orv", "a.orv", "testplans/demo_C.orv", "c.orv",
                                   "testplans/demo_E.orv", "testplans/demo_F.orv",
                                   "testplans/demo_G.orv", "testplans/demo_H.orv"}));
}

TEST(RecentPlansTest, SavedNamesEndInOrv) {
    EXPECT_EQ(WithOrvExtension("Board1"), "Board1.orv");
    EXPECT_EQ(WithOrvExtension("Board1.ORV"), "Board1.ORV");
    EXPECT_EQ(WithOrvExtension("testplans/b.Orv"), "testplans/b.Orv");
    EXPECT_EQ(WithOrvExtension("b.orv.txt"), "b.orv.txt.orv");
    EXPECT_EQ(WithOrvExtension("rv"), "rv.orv");
}

}  // namespace
}  // namespace orv
