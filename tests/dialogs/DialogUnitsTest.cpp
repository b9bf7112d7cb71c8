#include "dialogs/DialogUnits.h"

#include "framework/TFont.h"

#include <gtest/gtest.h>

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    struct Case {
        int number, numerator, denominator, expected;
    };
    const Case cases[] = {
        {8, 6, 4, 12},
        {10, 6, 4, 15},
        {50, 6, 4, 75},
        {4, 6, 4, 6},
        {8, 13, 8, 13},
        {10, 13, 8, 16},
        {14, 13, 8, 23},
        {19, 13, 8, 31},
        {41, 13, 8, 67},
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {1, -1, 2, -1},
        {-1, -1, 2, 1},
        {1, 1, -2, -1},
        {5, 1, 4, 1},
        {7, 1, 4, 2},
        {-7, 1, 4, -2},
        {-5, 1, 4, -1},
        {0, 5, 3, 0},
        {1, 2, 3, 1},
        {65536, 65536, 65536, 65536},
        {2147483647, 2, 2, 2147483647},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
}

TEST(MulDiv, FailsWithoutADenominatorOrRoom) {
    EXPECT_EQ(MulDiv(5, 3, 0), -1);
    EXPECT_EQ(MulDiv(2147483647, 2, 1), -1);
    EXPECT_EQ(MulDiv(-2147483647, 2, 1), -1);
}

TEST(AverageCharSize, DialogFontGivesSixByThirteen) {
    TFont font; // "MS Sans Serif" 8 pt
    EXPECT_EQ(AverageCharSize(font.ToQFont()), QSize(6, 13));
}

TEST(AverageCharSize, GrowsWithTheFont) {
    TFont font;
    font.SetHeight(-22);
    const QSize large = AverageCharSize(font.ToQFont());
    EXPECT_GE(large.width(), 11);
    EXPECT_GE(large.height(), 25);
}

TEST(DialogUnits, ConvertsTheMessageDialogConstants) {
    const TDialogUnits units(QSize(6, 13));
    EXPECT_EQ(units.Horz(8), 12);
    EXPECT_EQ(units.Vert(8), 13);
    EXPECT_EQ(units.Horz(10), 15);
    EXPECT_EQ(units.Vert(10), 16);
    EXPECT_EQ(units.Horz(50), 75);
    EXPECT_EQ(units.Vert(14), 23);
    EXPECT_EQ(units.Horz(4), 6);
    EXPECT_EQ(units.Horz(180), 270);
    EXPECT_EQ(units.Vert(63), 102);
}

} // namespace
