#include "framework/TSpeedButton.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kFace = 0xFFC0C0C0;
constexpr QRgb kShadow = 0xFF808080;
constexpr QRgb kHighlight = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kPurple = 0xFF800080;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGray = 0xFF808080;

QImage Render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The about box's OK glyph in miniature: two 16 x 16 images on purple, a red square in the
// first (normal) and a gray one in the second (disabled).
QImage TwoImageGlyph() {
    QImage glyph(32, 16, QImage::Format_RGB32);
    glyph.fill(kPurple);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) {
            glyph.setPixel(x, y, kRed);
            glyph.setPixel(16 + x, y, kGray);
        }
    return glyph;
}

void Press(QWidget& w, QPoint at) {
    QTest::mousePress(&w, Qt::LeftButton, {}, at);
}
void Move(QWidget& w, QPoint at) {
    QTest::mouseMove(&w, at);
}
void Release(QWidget& w, QPoint at) {
    QTest::mouseRelease(&w, Qt::LeftButton, {}, at);
}

} // namespace

TEST(SpeedButtonClick, ComesOnlyFromALeftReleaseOverTheButton) {
    const struct {
        const char* name;
        std::function<void(QWidget&)> gesture;
        int clicks;
    } cases[] = {
        {"press and release inside",
         [](QWidget& w) {
             Press(w, {10, 10});
             Release(w, {12, 9});
         },
         1},
        {"released outside",
         [](QWidget& w) {
             Press(w, {10, 10});
             Move(w, {60, 10});
             Release(w, {60, 10});
         },
         0},
        {"dragged out and back in",
         [](QWidget& w) {
             Press(w, {10, 10});
             Move(w, {60, 10});
             Move(w, {20, 10});
             Release(w, {20, 10});
         },
         1},
        {"right button",
         [](QWidget& w) {
             QTest::mousePress(&w, Qt::RightButton, {}, {10, 10});
             QTest::mouseRelease(&w, Qt::RightButton, {}, {10, 10});
         },
         0},
        {"the second press of a double click clicks again",
         [](QWidget& w) {
             Press(w, {10, 10});
             Release(w, {10, 10});
             QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(10, 10),
                                w.mapToGlobal(QPointF(10, 10)), Qt::LeftButton, Qt::LeftButton,
                                Qt::NoModifier);
             QApplication::sendEvent(&w, &second);
             Release(w, {10, 10});
         },
         2},
    };
    for (const auto& c : cases) {
        TSpeedButton button;
        button.resize(40, 18);
        int clicks = 0;
        button.OnClick = [&](QObject* sender) {
            EXPECT_EQ(sender, &button);
            ++clicks;
        };
        button.show();
        c.gesture(button);
        EXPECT_EQ(clicks, c.clicks) << c.name;
        EXPECT_FALSE(button.Pressed()) << c.name;
    }
}

TEST(SpeedButtonClick, LooksPressedOnlyWhileHeldOverTheButton) {
    TSpeedButton button;
    button.resize(40, 18);
    button.show();
    Press(button, {10, 10});
    EXPECT_TRUE(button.Pressed());
    Move(button, {60, 10});
    EXPECT_FALSE(button.Pressed());
    Move(button, {30, 10});
    EXPECT_TRUE(button.Pressed());
    Release(button, {30, 10});
    EXPECT_FALSE(button.Pressed());
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
}

TEST(SpeedButtonLook, RaisedWhenUpSunkenWhilePressed) {
    TSpeedButton button;
    button.resize(40, 18);
    button.show();
    const QImage up = Render(button);
    EXPECT_EQ(up.pixel(0, 0), kHighlight);
    EXPECT_EQ(up.pixel(39, 0), kBlack);
    EXPECT_EQ(up.pixel(0, 17), kBlack);
    EXPECT_EQ(up.pixel(1, 1), kFace);
    EXPECT_EQ(up.pixel(38, 16), kShadow);
    EXPECT_EQ(up.pixel(20, 9), kFace);
    Press(button, {10, 10});
    const QImage down = Render(button);
    EXPECT_EQ(down.pixel(0, 0), kShadow);
    EXPECT_EQ(down.pixel(39, 17), kHighlight);
    EXPECT_EQ(down.pixel(1, 1), kBlack);
    EXPECT_EQ(down.pixel(38, 16), kFace);
    Release(button, {10, 10});
}

TEST(SpeedButtonGlyph, TwoImagesNormalThenDisabledWithTheBottomLeftColourTransparent) {
    TSpeedButton button;
    button.resize(40, 18);
    button.SetGlyphImage(TwoImageGlyph());
    EXPECT_EQ(button.NumGlyphs(), 2);
    // Without a caption the 16 x 16 image is centred: (12, 1).
    QImage image = Render(button);
    EXPECT_EQ(image.pixel(12 + 4, 1 + 4), kRed);
    EXPECT_EQ(image.pixel(12, 1), kFace) << "the purple key colour is transparent";
    button.SetEnabled(false);
    image = Render(button);
    EXPECT_EQ(image.pixel(12 + 4, 1 + 4), kGray);
    EXPECT_EQ(image.pixel(12, 1), kFace);
}

TEST(SpeedButtonGlyph, GlyphAndCaptionAreCentredTogetherSpacingApart) {
    TSpeedButton button;
    button.resize(80, 20);
    button.SetGlyphImage(TwoImageGlyph());
    button.SetCaption("OK");
    const int text = QFontMetrics(button.font()).horizontalAdvance("OK");
    const int left = (80 - (16 + 4 + text)) / 2;
    const QImage image = Render(button);
    EXPECT_EQ(image.pixel(left + 4, 2 + 4), kRed);
    EXPECT_EQ(image.pixel(left + 3, 2 + 4), kFace);
    int firstText = -1;
    for (int x = left + 16; x < 80 && firstText < 0; ++x)
        for (int y = 2; y < 18; ++y)
            if (image.pixel(x, y) == kBlack) {
                firstText = x;
                break;
            }
    EXPECT_GE(firstText, left + 16 + 4);
    EXPECT_LE(firstText, left + 16 + 4 + 2);
}

TEST(SpeedButtonGlyph, ASingleImageIsEmbossedWhenDisabled) {
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(kPurple);
    glyph.setPixel(5, 5, kRed);
    TSpeedButton button;
    button.resize(40, 18);
    button.SetGlyphImage(glyph);
    EXPECT_EQ(button.NumGlyphs(), 1);
    button.SetEnabled(false);
    const QImage image = Render(button);
    EXPECT_EQ(image.pixel(12 + 5, 1 + 5), kShadow);
    EXPECT_EQ(image.pixel(12 + 6, 1 + 6), kHighlight);
}
