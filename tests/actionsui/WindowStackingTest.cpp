// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/WindowStacking.h"

#include <gtest/gtest.h>

namespace {

struct StackCase
{
    const char* name;
    QRect workArea;
    TStackCorner corner;
    QList<QSize> sizes;
    QList<QPoint> expected;
};

TEST(WindowStacking, WindowsStackFromTheCornerInColumnsAndStackingAlwaysEnds)
{
    const QRect desktop(0, 0, 1920, 1040);
    const QRect low(0, 0, 1920, 500);
    const QSize balloon(370, 170);
    const QSize tall(370, 250);
    const QSize block(370, 200);
    const QSize tooTall(370, 1100);
    const QList<StackCase> cases {
        {"lower right stacks upwards", desktop, TStackCorner::LowerRight, {balloon, tall}, {{1550, 860}, {1550, 600}}},
        {"lower left keeps 10 from the edge",
         desktop,
         TStackCorner::LowerLeft,
         {balloon, tall},
         {{10, 860}, {10, 600}}},
        {"upper right stacks below the bottom",
         desktop,
         TStackCorner::UpperRight,
         {balloon, tall},
         {{1550, 10}, {1550, 190}}},
        {"upper left", desktop, TStackCorner::UpperLeft, {tall, balloon, balloon}, {{10, 10}, {10, 270}, {10, 450}}},
        {"lower right opens a column",
         low,
         TStackCorner::LowerRight,
         {block, block, block},
         {{1550, 290}, {1550, 80}, {1170, 290}}},
        {"upper left opens a column when the bottom leaves the area",
         low,
         TStackCorner::UpperLeft,
         {block, block, block},
         {{10, 10}, {10, 220}, {390, 10}}},
        {"a work area of a second monitor",
         QRect(1920, 30, 1280, 994),
         TStackCorner::LowerRight,
         {balloon},
         {{2830, 844}}},
        // A window too tall for any column never ends the stack for the others.
        {"too tall for any column: a column of its own from the top",
         desktop,
         TStackCorner::LowerRight,
         {tooTall, balloon},
         {{1550, 0}, {1170, 860}}},
        {"too tall after others: a fresh column at the top, the next one after it",
         desktop,
         TStackCorner::LowerRight,
         {balloon, tooTall, balloon},
         {{1550, 860}, {1170, 0}, {790, 860}}},
        {"too tall at an upper corner", desktop, TStackCorner::UpperRight, {tooTall, balloon}, {{1550, 0}, {1170, 10}}},
        {"too tall at a left corner", desktop, TStackCorner::LowerLeft, {tooTall, balloon}, {{10, 0}, {390, 860}}},
    };
    for (const StackCase& c : cases)
        EXPECT_EQ(StackWindows(c.workArea, c.corner, c.sizes), c.expected) << c.name;
}

TEST(WindowStacking, UpperCornerWindowsNeverOverlap)
{
    const QList<QSize> sizes {{370, 300}, {370, 170}, {400, 250}, {370, 170}};
    const QList<QPoint> positions = StackWindows(QRect(0, 0, 1920, 1040), TStackCorner::UpperRight, sizes);
    ASSERT_EQ(positions.size(), sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const QRect a(positions[i], sizes[i]);
        EXPECT_TRUE(QRect(0, 0, 1920, 1040).contains(a)) << i;
        for (qsizetype j = i + 1; j < sizes.size(); ++j)
            EXPECT_FALSE(a.intersects(QRect(positions[j], sizes[j]))) << i << " " << j;
    }
}

} // namespace
