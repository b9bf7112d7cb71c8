#include "ButtonWindow.h"
#include "framework/TCanvas.h"

#include <QFontMetrics>

using namespace button_test;

namespace {

// Every pixel of the look outside the glyph's 32 x 32 square at (gx, gy) is the parent's.
void ExpectParentOutside(const QImage& look, int gx, int gy) {
    for (int y = 0; y < look.height(); ++y)
        for (int x = 0; x < look.width(); ++x)
            if (x < gx || x >= gx + 32 || y < gy || y >= gy + 32) {
                ASSERT_EQ(ButtonWindow::Pixel(look, x, y), kParent) << x << "," << y;
            }
}

// The ring of the whole button: top and left edges in one colour, right and bottom in another.
void ExpectRing(const QImage& look, QRgb top, QRgb bottom) {
    for (int i = 0; i < 39; ++i) {
        EXPECT_EQ(ButtonWindow::Pixel(look, i, 0), top) << i;
        EXPECT_EQ(ButtonWindow::Pixel(look, 0, i), top) << i;
    }
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(ButtonWindow::Pixel(look, 39, i), bottom) << i;
        EXPECT_EQ(ButtonWindow::Pixel(look, i, 39), bottom) << i;
    }
    EXPECT_EQ(ButtonWindow::Pixel(look, 1, 1), kParent);
}

// Bounding box of the pixels of one colour, or a null rectangle.
QRect InkOf(const QImage& image, QRgb color) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (ButtonWindow::Pixel(image, x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(TransparentButtonLook, IdleExplorerButtonShowsTheGrayGlyphAndNoFrame) {
    ButtonWindow w;
    w.button->SetGlyphImage(TestGlyph());
    const QImage look = w.Look();
    ExpectParentOutside(look, 4, 4);
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 8), Gray(28));   // red
    EXPECT_EQ(w.Pixel(look, 4 + 16, 4 + 8), Gray(150)); // green
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 24), Gray(76));  // blue
    EXPECT_EQ(w.Pixel(look, 4 + 10, 4 + 10), kParent);  // white inside the picture
    EXPECT_EQ(w.Pixel(look, 4, 4), kParent);
}

TEST(TransparentButtonLook, HoveredExplorerButtonShowsColoursInARaisedRing) {
    ButtonWindow w;
    w.button->SetGlyphImage(TestGlyph());
    w.Hover();
    const QImage look = w.Look();
    ExpectRing(look, kHighlight, kShadow);
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 8), kRed);
    EXPECT_EQ(w.Pixel(look, 4 + 16, 4 + 8), kGreen);
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 24), kBlue);
    EXPECT_EQ(w.Pixel(look, 4 + 10, 4 + 10), kParent);
    EXPECT_EQ(w.Pixel(look, 4 + 7, 4 + 7), kParent);
}

TEST(TransparentButtonLook, PressedExplorerButtonSwapsTheRingAndShiftsTheGlyph) {
    ButtonWindow w;
    w.button->SetGlyphImage(TestGlyph());
    w.Hover();
    w.Press();
    const QImage look = w.Look();
    ExpectRing(look, kShadow, kHighlight);
    EXPECT_EQ(w.Pixel(look, 5 + 8, 5 + 8), kRed);
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 8), kParent);
    EXPECT_EQ(w.Pixel(look, 5 + 23, 5 + 23), kGreen);
    EXPECT_EQ(w.Pixel(look, 5 + 10, 5 + 10), kParent);
    w.Release();
    EXPECT_EQ(w.Pixel(w.Look(), 0, 0), kHighlight);
}

TEST(TransparentButtonLook, DisabledSingleImageIsEmbossed) {
    ButtonWindow w;
    w.button->SetGlyphImage(TestGlyph());
    w.button->SetEnabled(false);
    const QImage look = w.Look();
    ExpectParentOutside(look, 4, 4);
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 8), kShadow);
    EXPECT_EQ(w.Pixel(look, 4 + 23, 4 + 27), kShadow);
    EXPECT_EQ(w.Pixel(look, 4 + 24, 4 + 20), kHighlight); // edge right of the shape
    EXPECT_EQ(w.Pixel(look, 4 + 20, 4 + 28), kHighlight); // edge below it
    EXPECT_EQ(w.Pixel(look, 4 + 10, 4 + 10), kHighlight); // the white hole gets an edge too
    EXPECT_EQ(w.Pixel(look, 4 + 9, 4 + 28), kHighlight);
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 28), kParent);
    EXPECT_EQ(w.Pixel(look, 4 + 7, 4 + 7), kParent); // button face is transparent
    EXPECT_EQ(w.Pixel(look, 4 + 24, 4 + 8), kParent);
}

TEST(TransparentButtonLook, OpaqueButtonFillsWithTheButtonFace) {
    ButtonWindow w;
    w.button->SetGlyphImage(TestGlyph());
    w.button->SetTransparent(false);
    const QImage look = w.Look();
    EXPECT_EQ(w.Pixel(look, 0, 0), kFace);
    EXPECT_EQ(w.Pixel(look, 39, 39), kFace);
    EXPECT_EQ(w.Pixel(look, 4 + 10, 4 + 10), kFace);
    EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 8), Gray(28));
}

namespace {

struct FrameCase {
    TTransparentButton::TFrameStyle style;
    bool transparent;
    bool down;
    // Pixels across the middle row: x = 0, 1, 38, 39, and the middle of the button.
    QRgb x0, x1, x38, x39, middle;
};

constexpr QRgb P = kParent, F = kFace, S = kShadow, H = kHighlight, K = kBlack;

} // namespace

TEST(TransparentButtonLook, FrameStylesReleasedAndPressed) {
    using B = TTransparentButton;
    const FrameCase cases[] = {
        {B::fsRegular, true, false, H, F, S, K, P},   {B::fsRegular, false, false, H, F, S, K, F},
        {B::fsRegular, true, true, K, S, F, H, P},    {B::fsRegular, false, true, K, S, F, H, F},
        {B::fsIndent, true, false, S, H, S, H, P},    {B::fsIndent, false, false, S, H, S, H, F},
        {B::fsIndent, true, true, K, S, F, H, P},     {B::fsExplorer, true, false, P, P, P, P, P},
        {B::fsExplorer, false, false, F, F, F, F, F}, {B::fsExplorer, true, true, S, P, P, H, P},
        {B::fsNone, true, false, P, P, P, P, P},      {B::fsNone, true, true, P, P, P, P, P},
        {B::fsNone, false, true, F, F, F, F, F},      {B::fsLight, true, false, H, P, P, S, P},
        {B::fsLight, false, false, H, F, F, S, F},    {B::fsLight, true, true, S, P, P, H, P},
        {B::fsDark, true, false, F, P, P, K, P},      {B::fsDark, true, true, K, P, P, F, P},
        {B::fsMono, true, false, H, P, P, K, P},      {B::fsMono, true, true, K, P, P, H, P},
    };
    for (const FrameCase& c : cases) {
        ButtonWindow w;
        w.button->SetFrameStyle(c.style);
        w.button->SetTransparent(c.transparent);
        w.button->SetDown(c.down);
        const QImage look = w.Look();
        const std::vector<QRgb> actual = {w.Pixel(look, 0, 20), w.Pixel(look, 1, 20),
                                          w.Pixel(look, 38, 20), w.Pixel(look, 39, 20),
                                          w.Pixel(look, 20, 20)};
        EXPECT_EQ(actual, (std::vector<QRgb>{c.x0, c.x1, c.x38, c.x39, c.middle}))
            << "style " << c.style << " transparent " << c.transparent << " down " << c.down;
    }
}

TEST(TransparentButtonLook, BorderWidthMultipliesTheRingsOfRegularButNotOfLight) {
    ButtonWindow w;
    w.button->SetFrameStyle(TTransparentButton::fsRegular);
    w.button->SetBorderWidth(3);
    QImage look = w.Look();
    std::vector<QRgb> row, column;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 33, 34, 35, 36, 37, 38, 39}) {
        row.push_back(w.Pixel(look, i, 20));
        column.push_back(w.Pixel(look, 20, i));
    }
    const std::vector<QRgb> expected = {H, H, H, F, F, F, P, P, S, S, S, K, K, K};
    EXPECT_EQ(row, expected);
    EXPECT_EQ(column, expected);

    w.button->SetFrameStyle(TTransparentButton::fsLight);
    look = w.Look();
    EXPECT_EQ((std::vector<QRgb>{w.Pixel(look, 0, 20), w.Pixel(look, 1, 20), w.Pixel(look, 38, 20),
                                 w.Pixel(look, 39, 20)}),
              (std::vector<QRgb>{H, P, P, S}));
}

TEST(TransparentButtonLook, WithoutShowPressedAPressedButtonKeepsItsPlace) {
    using B = TTransparentButton;
    const FrameCase cases[] = {
        {B::fsRegular, true, true, P, K, P, K, P}, {B::fsIndent, true, true, S, H, S, H, P},
        {B::fsLight, true, true, P, P, P, P, P},   {B::fsDark, true, true, P, P, P, P, P},
        {B::fsMono, true, true, P, P, P, P, P},    {B::fsExplorer, true, true, H, P, P, S, P},
    };
    for (const FrameCase& c : cases) {
        ButtonWindow w;
        w.button->SetGlyphImage(TestGlyph());
        w.button->SetAutoGray(false);
        w.button->SetFrameStyle(c.style);
        w.button->SetShowPressed(false);
        w.button->SetDown(true);
        const QImage look = w.Look();
        EXPECT_EQ((std::vector<QRgb>{w.Pixel(look, 0, 20), w.Pixel(look, 1, 20),
                                     w.Pixel(look, 38, 20), w.Pixel(look, 39, 20)}),
                  (std::vector<QRgb>{c.x0, c.x1, c.x38, c.x39}))
            << "style " << c.style;
        EXPECT_EQ(w.Pixel(look, 4 + 8, 4 + 8), kRed) << "style " << c.style;
        EXPECT_EQ(w.Pixel(look, 4 + 23, 4 + 23), kGreen) << "style " << c.style;
    }
}

TEST(TransparentButtonLook, ImageChoiceFollowsNumGlyphsAndState) {
    using B = TTransparentButton;
    struct Case {
        int images;
        bool enabled;
        bool down;
        bool hover;
        B::TFrameStyle style;
        QRgb middle;
    };
    const Case cases[] = {
        {1, true, false, false, B::fsExplorer, Gray(28)},
        {1, true, false, true, B::fsExplorer, kRed},
        {1, false, false, false, B::fsExplorer, kShadow},
        {1, false, false, false, B::fsLight, kShadow},
        {2, true, true, false, B::fsLight, kRed},
        {2, false, false, false, B::fsLight, kGreen},
        {2, false, false, false, B::fsExplorer, Gray(28)},
        {3, true, false, false, B::fsLight, kRed},
        {3, true, true, false, B::fsLight, kBlue},
        {3, false, false, false, B::fsLight, kGreen},
        {3, false, false, false, B::fsExplorer, Gray(28)},
        {3, true, false, true, B::fsExplorer, kRed},
        {3, true, true, true, B::fsExplorer, kBlue},
        {4, true, true, false, B::fsLight, kBlue},
    };
    const std::vector<QRgb> colors = {kRed, kGreen, kBlue, kYellow};
    for (const Case& c : cases) {
        ButtonWindow w;
        w.button->SetGlyphImage(
            BlockGlyph(std::vector<QRgb>(colors.begin(), colors.begin() + c.images)));
        ASSERT_EQ(w.button->NumGlyphs(), c.images);
        w.button->SetFrameStyle(c.style);
        w.button->SetEnabled(c.enabled);
        w.button->SetDown(c.down);
        if (c.hover)
            w.Hover();
        EXPECT_EQ(w.Pixel(w.Look(), 20, 20), c.middle)
            << c.images << " images, enabled " << c.enabled << " down " << c.down << " hover "
            << c.hover << " style " << c.style;
    }
}

TEST(TransparentButtonLook, GlyphRectSitsOppositeTheCaption) {
    using B = TTransparentButton;
    struct Case {
        B::TTextAlign align;
        int left, top;
    };
    const Case cases[] = {
        {B::ttaTopLeft, 12, 22},   {B::ttaTop, 12, 22},        {B::ttaTopRight, 12, 22},
        {B::ttaRight, 2, 12},      {B::ttaBottomRight, 12, 2}, {B::ttaBottom, 12, 2},
        {B::ttaBottomLeft, 12, 2}, {B::ttaLeft, 22, 12},       {B::ttaCenter, 12, 12},
    };
    ButtonWindow w;
    w.button->SetGlyphImage(BlockGlyph({kBlue}, 16));
    for (const Case& c : cases) {
        w.button->SetTextAlign(c.align);
        EXPECT_EQ(w.button->GlyphRect(), (TRect{c.left, c.top, c.left + 16, c.top + 16}))
            << c.align;
    }
    w.button->SetSpacing(5);
    w.button->SetWidth(41);
    w.button->SetTextAlign(B::ttaLeft);
    EXPECT_EQ(w.button->GlyphRect(), (TRect{20, 12, 36, 28}));

    // Two images of 16 side by side: one image wide.
    w.button->SetGlyphImage(BlockGlyph({kBlue, kRed}, 16));
    w.button->SetTextAlign(B::ttaCenter);
    EXPECT_EQ(w.button->GlyphRect(), (TRect{12, 12, 28, 28}));

    // No glyph: an empty rectangle where a glyph of no size would go.
    ButtonWindow empty;
    EXPECT_EQ(empty.button->GlyphRect(), (TRect{20, 20, 20, 20}));
    empty.button->SetTextAlign(B::ttaBottom);
    EXPECT_EQ(empty.button->GlyphRect(), (TRect{20, 2, 20, 2}));
}

namespace {

// Where a caption's ink lies when its measured rectangle sits at (0, 0), and that rectangle's
// size.
struct CaptionInk {
    QRect ink;
    QSize size;
};

CaptionInk ReferenceInk(const QString& caption, const TFont& font, unsigned lines) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    TRect r{0, 0, 40, 40};
    {
        TCanvas canvas(&image);
        canvas.Font.Assign(font);
        canvas.Font.SetColor(clBlack);
        canvas.DrawText(caption, r, DT_CALCRECT | lines);
        canvas.DrawText(caption, r, DT_CENTER | DT_NOCLIP | lines);
    }
    return {InkOf(image, kBlack), QSize(r.Width(), r.Height())};
}

} // namespace

TEST(TransparentButtonLook, CaptionPlacement) {
    using B = TTransparentButton;
    const QString caption = QStringLiteral("Abc");
    struct Case {
        B::TTextAlign align;
        // The measured rectangle's offset, from the glyph rectangle and the caption's size.
        std::function<QPoint(const TRect& glyph, QSize text)> offset;
    };
    const Case cases[] = {
        {B::ttaBottom,
         [](const TRect& g, QSize t) { return QPoint(20 - t.width() / 2, g.Bottom + 2); }},
        {B::ttaTopLeft, [](const TRect& g, QSize t) { return QPoint(2, g.Top - t.height() - 2); }},
        {B::ttaRight,
         [](const TRect&, QSize t) { return QPoint(40 - t.width() - 2, 20 - t.height() / 2); }},
        {B::ttaCenter,
         [](const TRect&, QSize t) { return QPoint(20 - t.width() / 2, 20 - t.height() / 2); }},
    };
    for (const Case& c : cases) {
        ButtonWindow w;
        w.button->SetGlyphImage(BlockGlyph({kBlue}, 16));
        w.button->Font().SetColor(clBlack);
        w.button->SetCaption(caption);
        w.button->SetTextAlign(c.align);
        const CaptionInk reference = ReferenceInk(caption, w.button->Font(), DT_SINGLELINE);
        const QPoint offset = c.offset(w.button->GlyphRect(), reference.size);
        EXPECT_EQ(InkOf(w.Look(), kBlack), reference.ink.translated(offset)) << c.align;
    }
}

TEST(TransparentButtonLook, BottomCaptionUnderASixteenPixelGlyph) {
    ButtonWindow w;
    w.button->SetGlyphImage(BlockGlyph({kBlue}, 16));
    w.button->SetAutoGray(false);
    w.button->Font().SetColor(clBlack);
    w.button->SetCaption(QStringLiteral("Ab"));
    w.button->SetTextAlign(TTransparentButton::ttaBottom);
    const QImage look = w.Look();
    EXPECT_EQ(InkOf(look, kBlue), QRect(12 + 4, 2 + 4, 8, 8));
    const CaptionInk reference =
        ReferenceInk(QStringLiteral("Ab"), w.button->Font(), DT_SINGLELINE);
    EXPECT_EQ(InkOf(look, kBlack).top(), 20 + reference.ink.top());
}

TEST(TransparentButtonLook, CaptionMovesWhenPressedAndEmbossesWhenDisabled) {
    ButtonWindow w;
    w.button->Font().SetColor(clBlack);
    w.button->SetCaption(QStringLiteral("&Play"));
    const QRect released = InkOf(w.Look(), kBlack);
    ASSERT_FALSE(released.isNull());
    w.button->SetDown(true);
    EXPECT_EQ(InkOf(w.Look(), kBlack), released.translated(1, 1));
    w.button->SetDown(false);

    w.button->SetEnabled(false);
    const QImage look = w.Look();
    EXPECT_TRUE(InkOf(look, kBlack).isNull());
    const QRect shadow = InkOf(look, kShadow);
    const QRect highlight = InkOf(look, kHighlight);
    EXPECT_EQ(shadow, released);
    EXPECT_EQ(highlight.bottomRight(), shadow.bottomRight() + QPoint(1, 1));
}

TEST(TransparentButtonLook, WrappedCaptionBreaksWithinTheButton) {
    ButtonWindow w;
    w.button->Font().SetColor(clBlack);
    w.button->SetCaption(QStringLiteral("ab cd ef gh"));
    const QRect single = InkOf(w.Look(), kBlack);
    w.button->SetWordWrap(true);
    const QRect wrapped = InkOf(w.Look(), kBlack);
    // On one line the caption runs past both edges; wrapped it fits between them.
    EXPECT_EQ(single.left(), 0);
    EXPECT_EQ(single.right(), 39);
    EXPECT_GT(wrapped.left(), 0);
    EXPECT_LT(wrapped.right(), 39);
    EXPECT_GT(wrapped.height(), single.height());
}
