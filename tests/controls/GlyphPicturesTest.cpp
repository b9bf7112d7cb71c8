#include "controls/GlyphPictures.h"

#include "framework/Exceptions.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kFace = 0xC0C0C0;
constexpr QRgb kShadow = 0x808080;
constexpr QRgb kHighlight = 0xFFFFFF;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;

QRgb At(const TBitmap& bitmap, int x, int y) {
    return bitmap.Image().pixel(x, y) & 0xFFFFFF;
}

// A bitmap drawn from rows of characters, one pixel each, with a colour per character.
TBitmap Picture(const std::vector<const char*>& rows, const std::map<char, QRgb>& colors) {
    TBitmap bitmap(static_cast<int>(strlen(rows[0])), static_cast<int>(rows.size()));
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            bitmap.Image().setPixel(x, y, 0xFF000000 | colors.at(rows[y][x]));
    return bitmap;
}

// The picture read back as rows of characters, one per colour of the legend.
std::vector<std::string> Rows(const TBitmap& bitmap, const std::map<QRgb, char>& legend) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const auto found = legend.find(At(bitmap, x, y));
            row += found == legend.end() ? '?' : found->second;
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(MakeGrayBitmap, WeighsRedElevenGreenFiftyNineBlueThirty) {
    struct Case {
        QRgb in;
        int gray;
    };
    const Case cases[] = {
        {0xFF0000, 28},  {0x00FF00, 150}, {0x0000FF, 76}, {0xFFFFFF, 255}, {0x000000, 0},
        {0x808080, 128}, {0x7F007F, 52},  {0x010101, 1},  {0xC0C0C0, 192}, {0x123456, 58},
    };
    for (const Case& c : cases) {
        TBitmap bitmap(1, 1);
        bitmap.Image().setPixel(0, 0, 0xFF000000 | c.in);
        MakeGrayBitmap(bitmap, 11, 59, 30);
        EXPECT_EQ(At(bitmap, 0, 0), qRgb(c.gray, c.gray, c.gray) & 0xFFFFFF) << std::hex << c.in;
    }
}

TEST(MakeGrayBitmap, OtherWeightsAndBadInput) {
    TBitmap bitmap(1, 1);
    bitmap.Image().setPixel(0, 0, qRgb(90, 30, 0));
    MakeGrayBitmap(bitmap, 1, 1, 1);
    EXPECT_EQ(At(bitmap, 0, 0), 0x282828u);

    TBitmap empty;
    EXPECT_NO_THROW(MakeGrayBitmap(empty, 0, 0, 0));
    EXPECT_TRUE(empty.Empty());
    EXPECT_THROW(MakeGrayBitmap(bitmap, 0, 0, 0), EInvalidOperation);
    EXPECT_THROW(MakeGrayBitmap(bitmap, -1, 1, 1), EInvalidOperation);
}

TEST(MakeGrayBitmap, RaisesTheChangeEvent) {
    TBitmap bitmap(2, 2);
    int changes = 0;
    bitmap.OnChange = [&] { ++changes; };
    MakeGrayBitmap(bitmap, 11, 59, 30);
    EXPECT_EQ(changes, 1);
}

TEST(EmbossBitmap, ShadowShapeWithHighlightEdgeBelowRight) {
    TBitmap bitmap = Picture(
        {
            "......",
            ".##...",
            ".#....",
            "......",
            ".....#",
        },
        {{'.', kWhite}, {'#', kBlack}});
    EmbossBitmap(bitmap);
    const std::vector<std::string> expected = {
        "FFFFFF", //
        "FSSFFF", //
        "FSHHFF", //
        "FFHFFF", //
        "FFFFFS", // the edge of the corner pixel falls outside
    };
    EXPECT_EQ(Rows(bitmap, {{kFace, 'F'}, {kShadow, 'S'}, {kHighlight, 'H'}}), expected);
}

TEST(MakeDisabledBitmap, KeepsTheShapeOfWhatIsNeitherWhiteNorTheCornerColour) {
    constexpr QRgb kRed = 0xFF0000;
    constexpr QRgb kPurple = 0x800080;
    TBitmap bitmap = Picture(
        {
            "pppw.",
            "prrw.",
            "pwbpp",
            "ppppp",
        },
        {{'p', kPurple}, {'r', kRed}, {'w', kWhite}, {'b', kBlack}, {'.', kPurple}});
    MakeDisabledBitmap(bitmap);
    const std::vector<std::string> expected = {
        "FFFFF", //
        "FSSFF", //
        "FFSHF", //
        "FFFHF", //
    };
    EXPECT_EQ(Rows(bitmap, {{kFace, 'F'}, {kShadow, 'S'}, {kHighlight, 'H'}}), expected);
}

TEST(MakeDisabledBitmap, EmptyBitmapsAreLeftAlone) {
    TBitmap empty;
    MakeDisabledBitmap(empty);
    EmbossBitmap(empty);
    EXPECT_TRUE(empty.Empty());
}

namespace {

// Draws bevels on a 6 x 5 white image and reads it back: T top colour, B bottom colour.
std::vector<std::string> Bevel(TRect& r, unsigned width) {
    QImage image(6, 5, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TCanvas canvas(&image);
        canvas.Pen.Width = 3;
        DrawBevel(canvas, r, clRed, clBlue, width);
        EXPECT_EQ(canvas.Pen.Width, 1);
    }
    TBitmap bitmap;
    bitmap.Assign(image);
    return Rows(bitmap, {{kWhite, '.'}, {0xFF0000, 'T'}, {0x0000FF, 'B'}});
}

} // namespace

TEST(DrawBevel, RingsWithTheirCornersInTheBottomColour) {
    struct Case {
        TRect rect;
        unsigned width;
        std::vector<std::string> expected;
        TRect after;
    };
    const Case cases[] = {
        {{0, 0, 6, 5}, 1, {"TTTTTB", "T....B", "T....B", "T....B", "BBBBBB"}, {1, 1, 5, 4}},
        {{0, 0, 6, 5}, 2, {"TTTTTB", "TTTTBB", "TT..BB", "TBBBBB", "BBBBBB"}, {2, 2, 4, 3}},
        {{1, 1, 5, 4}, 1, {"......", ".TTTB.", ".T..B.", ".BBBB.", "......"}, {2, 2, 4, 3}},
        {{0, 0, 6, 5}, 0, {"......", "......", "......", "......", "......"}, {0, 0, 6, 5}},
        // Rings beyond the middle draw nothing more; the rectangle still shrinks.
        {{0, 0, 6, 5}, 9, {"TTTTTB", "TTTTBB", "TTBBBB", "TBBBBB", "BBBBBB"}, {9, 9, -3, -4}},
    };
    for (const Case& c : cases) {
        TRect r = c.rect;
        EXPECT_EQ(Bevel(r, c.width), c.expected) << c.width;
        EXPECT_EQ(r, c.after) << c.width;
    }
}

TEST(DrawBevel, HugeWidthsReturnAtOnce) {
    TRect r{0, 0, 6, 5};
    Bevel(r, 0xFFFFFFFFu);
    EXPECT_LT(r.Right, r.Left);
}
