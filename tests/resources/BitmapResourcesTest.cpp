// The compiled-in bitmaps: each is found through the static resource library, has its size and
// its colour key, and stays visible once the glyph button has turned it gray and keyed it.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QString>
#include <gtest/gtest.h>

namespace {

QImage loadBitmap(const QString& name) {
    return QImage(QStringLiteral(":/bitmaps/%1.xpm").arg(name));
}

QSet<QRgb> coloursOf(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) | 0xFF000000u);
    return colours;
}

QRgb pixelAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

// The standard 16 colours of the VGA palette, the only ones of a 16-colour Windows bitmap.
const QSet<QRgb> Vga16 = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

TEST(ResourceLibrary, IsRegisteredInAProgramThatLinksIt) {
    // The resources live in a static library; a program that links it must find them without
    // any registration call of its own.
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/logo/logo.jpg")));
    const QStringList names = {"CDROM",     "CLOSEDFOLDER", "CURRENTFOLDER", "EXECUTABLE",
                               "FLOPPY",    "GLYPHCOPY",    "GLYPHDELETE",   "GLYPHHELP",
                               "GLYPHQUIT", "GLYPHRENAME",  "GLYPHSTOP",     "HARD",
                               "KNOWNFILE", "NETWORK",      "OKGLYPH",       "OPENFOLDER",
                               "RAM",       "UNKNOWNFILE",  "ZVONKAR"};
    QStringList expected;
    for (const QString& name : names)
        expected += name + QStringLiteral(".xpm");
    EXPECT_EQ(QDir(QStringLiteral(":/bitmaps")).entryList(QDir::Files, QDir::Name), expected);
}

struct BrowsingBitmap {
    const char* name;
    int width;
    int height;
};

const BrowsingBitmap BrowsingBitmaps[] = {
    {"OPENFOLDER", 16, 15}, {"CLOSEDFOLDER", 16, 15}, {"CURRENTFOLDER", 16, 15},
    {"EXECUTABLE", 16, 15}, {"UNKNOWNFILE", 16, 15},  {"KNOWNFILE", 16, 15},
    {"FLOPPY", 16, 11},     {"HARD", 16, 11},         {"NETWORK", 16, 11},
    {"CDROM", 16, 11},      {"RAM", 16, 11},
};

TEST(BrowsingBitmaps, HaveTheirSizeAndVgaColoursOnBlue) {
    const QRgb blue = qRgb(0, 0, 255);
    for (const BrowsingBitmap& b : BrowsingBitmaps) {
        SCOPED_TRACE(b.name);
        const QImage image = loadBitmap(b.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(b.width, b.height));
        const QSet<QRgb> colours = coloursOf(image);
        EXPECT_TRUE(Vga16.contains(colours)) << "a colour outside the 16 VGA colours";
        const int w = image.width() - 1;
        const int h = image.height() - 1;
        EXPECT_EQ(pixelAt(image, 0, h), blue) << "the colour key is the bottom-left pixel";
        EXPECT_EQ(pixelAt(image, 0, 0), blue);
        EXPECT_EQ(pixelAt(image, w, 0), blue);
        EXPECT_EQ(pixelAt(image, w, h), blue);
        int drawn = 0;
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x)
                drawn += pixelAt(image, x, y) != blue;
        EXPECT_GT(drawn, image.width() * image.height() / 3) << "too little of a picture";
    }
}

TEST(BrowsingBitmaps, FolderKindsDifferAtAGlance) {
    // The directory list tells ancestors, the folder shown and subfolders apart by glyph alone.
    const QImage open = loadBitmap("OPENFOLDER");
    const QImage closed = loadBitmap("CLOSEDFOLDER");
    const QImage current = loadBitmap("CURRENTFOLDER");
    EXPECT_NE(open, closed);
    EXPECT_NE(open, current);
    const QRgb yellow = qRgb(255, 255, 0);
    EXPECT_TRUE(coloursOf(open).contains(yellow));
    EXPECT_TRUE(coloursOf(closed).contains(yellow));
    EXPECT_FALSE(coloursOf(current).contains(yellow)) << "the folder shown is grey and white";
}

struct Glyph {
    const char* name;
    QRgb topLeft;
    QRgb bottomLeft;
};

const QRgb White = qRgb(255, 255, 255);

const Glyph Glyphs[] = {
    {"GLYPHSTOP", White, White},
    {"GLYPHHELP", White, qRgb(127, 0, 127)},
    {"GLYPHQUIT", qRgb(0, 0, 0), qRgb(191, 191, 191)},
    {"GLYPHDELETE", White, White},
    {"GLYPHCOPY", White, White},
    {"GLYPHRENAME", White, White},
};

TEST(ButtonGlyphs, HaveTheirSizeAndCornerColours) {
    for (const Glyph& g : Glyphs) {
        SCOPED_TRACE(g.name);
        const QImage image = loadBitmap(g.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(32, 32));
        EXPECT_EQ(pixelAt(image, 0, 0), g.topLeft);
        EXPECT_EQ(pixelAt(image, 0, 31), g.bottomLeft);
        if (g.bottomLeft == White) {
            EXPECT_EQ(pixelAt(image, 31, 0), White);
            EXPECT_EQ(pixelAt(image, 31, 31), White);
        }
        EXPECT_GT(coloursOf(image).size(), 4) << "a full-colour picture";
    }
}

TEST(ButtonGlyphs, QuitGlyphHasItsOutlineAndMargin) {
    const QImage image = loadBitmap("GLYPHQUIT");
    const QRgb black = qRgb(0, 0, 0);
    const QRgb silver = qRgb(191, 191, 191);
    for (int i = 0; i < 28; ++i) {
        EXPECT_EQ(pixelAt(image, i, 0), black) << "top outline at x " << i;
        EXPECT_EQ(pixelAt(image, 0, i), black) << "left outline at y " << i;
        EXPECT_EQ(pixelAt(image, 31, i + 2), silver) << "right margin at y " << i + 2;
        EXPECT_EQ(pixelAt(image, i + 2, 31), silver) << "bottom margin at x " << i + 2;
    }
}

int grayOf(QRgb p) {
    return (11 * qRed(p) + 59 * qGreen(p) + 30 * qBlue(p)) / 100;
}

TEST(ButtonGlyphs, OnlyTheBackgroundVanishesInColourAndInGray) {
    // The button keys out the bottom-left colour, and in its gray image the bottom-left gray:
    // a picture colour sharing either would leave holes in the glyph.
    for (const Glyph& g : Glyphs) {
        SCOPED_TRACE(g.name);
        const QImage image = loadBitmap(g.name);
        const QRgb key = pixelAt(image, 0, 31);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb p = pixelAt(image, x, y);
                EXPECT_EQ(p == key, grayOf(p) == grayOf(key)) << "pixel " << x << "," << y;
            }
        }
    }
}

TEST(OkGlyph, HoldsANormalAndADisabledTickOnPurple) {
    const QImage image = loadBitmap("OKGLYPH");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(32, 16));
    EXPECT_LE(coloursOf(image).size(), 16);
    const QRgb purple = qRgb(128, 0, 128);
    EXPECT_EQ(pixelAt(image, 0, 15), purple);
    EXPECT_EQ(pixelAt(image, 16, 15), purple) << "the disabled image keys out the same colour";
    const QImage normal = image.copy(0, 0, 16, 16);
    const QImage disabled = image.copy(16, 0, 16, 16);
    const QSet<QRgb> normalColours = coloursOf(normal);
    const QSet<QRgb> disabledColours = coloursOf(disabled);
    EXPECT_TRUE(normalColours.contains(qRgb(255, 0, 0)));
    EXPECT_TRUE(normalColours.contains(qRgb(0, 0, 0)));
    EXPECT_FALSE(disabledColours.contains(qRgb(255, 0, 0)));
    EXPECT_TRUE(disabledColours.contains(White));
    EXPECT_TRUE(disabledColours.contains(qRgb(128, 128, 128)));
}

TEST(ProgramIcon, ShowsAGreenWaveOnARedCentreLine) {
    const QImage image = loadBitmap("ZVONKAR");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_TRUE(Vga16.contains(coloursOf(image)));
    int red = 0;
    for (int x = 0; x < 32; ++x)
        red += pixelAt(image, x, 16) == qRgb(255, 0, 0);
    EXPECT_GE(red, 16) << "a horizontal red line across the screen's middle";
    EXPECT_TRUE(coloursOf(image).contains(qRgb(0, 255, 0)));
    EXPECT_EQ(pixelAt(image, 6, 6), qRgb(0, 0, 0)) << "the black screen";
    EXPECT_EQ(pixelAt(image, 2, 2), qRgb(192, 192, 192)) << "the light grey frame";
}

} // namespace
