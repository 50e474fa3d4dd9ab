// The dialog template's groups and order, which the radio behaviour and the
// tab order of every frontend are derived from.
#include "app/dialog_template.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<int> RadiosOfGroup(int id) {
    std::vector<int> radios;
    for (const ControlSpec& c : GroupOf(id))
        if (c.kind == ControlKind::Radio) radios.push_back(c.id);
    return radios;
}

TEST(DialogTemplate, RadioGroupsHoldExactlyTheirOwnRadios) {
    EXPECT_EQ(RadiosOfGroup(1002), (std::vector<int>{1001, 1002}));
    const std::vector<int> apply{1008, 1009, 1010, 1011, 1012, 1013, 1014, 1016};
    for (int id : apply) EXPECT_EQ(RadiosOfGroup(id), apply) << id;
    EXPECT_TRUE(GroupOf(4242).empty());
}

TEST(DialogTemplate, IdentifiersAreUniqueAndTheHiddenGroupIsHiddenAndDisabledThroughout) {
    std::vector<int> ids;
    int hidden = 0;
    for (const ControlSpec& c : kDialogControls) {
        if (c.id != kNoId) ids.push_back(c.id);
        EXPECT_EQ(c.Hidden(), c.IsDisabled()) << c.id;
        hidden += c.Hidden() ? 1 : 0;
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_EQ(hidden, 1 + 13 + 1);  // the "DIV 13" box, its 13 tile boxes and its "Apply" radio
}

TEST(DialogTemplate, TabOrderRunsThroughTheGroupsAsTheOperatorMeetsThem) {
    std::vector<int> order;
    for (const ControlSpec& c : kDialogControls)
        if (c.id != kNoId) order.push_back(c.id);
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 3), (std::vector<int>{1001, 1002, 1017}));
    EXPECT_EQ(std::vector<int>(order.end() - 8, order.end()),
              (std::vector<int>{1008, 1009, 1010, 1011, 1012, 1013, 1014, 1016}));
    // The layout groups' boxes: "DIV 16" first, "DIV 13" last.
    const auto firstTile = std::find(order.begin(), order.end(), 1044);
    ASSERT_NE(firstTile, order.end());
    EXPECT_EQ(*(firstTile - 1), 1043);
    EXPECT_EQ(*(order.end() - 9), 1110);
}

TEST(DialogTemplate, EveryControlLiesInsideTheDialog) {
    for (const ControlSpec& c : kDialogControls) {
        EXPECT_GE(c.rect.x, 0) << c.id << ' ' << c.caption;
        EXPECT_GE(c.rect.y, 0) << c.id << ' ' << c.caption;
        EXPECT_LE(c.rect.x + c.rect.width, kDialog.rect.width) << c.id << ' ' << c.caption;
        EXPECT_LE(c.rect.y + c.rect.height, kDialog.rect.height) << c.id << ' ' << c.caption;
    }
}

}  // namespace
