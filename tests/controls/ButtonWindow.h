#pragma once
// A shown window painted in a colour that no button draws, holding one glyph button at (10, 10),
// with helpers to read the button's look back from the window's pixels.

#include "controls/TTransparentButton.h"

#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace button_test {

constexpr QRgb kParent = 0x30A060;
constexpr QRgb kFace = 0xC0C0C0;
constexpr QRgb kShadow = 0x808080;
constexpr QRgb kHighlight = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kGreen = 0x00FF00;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kYellow = 0xFFFF00;

constexpr QRgb Gray(int level) {
    return static_cast<QRgb>(level * 0x010101);
}

class PaintedParent : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor::fromRgb(kParent));
    }
};

// Images of size x size side by side on white, image i with a solid block of colors[i] over its
// middle half.
inline QImage BlockGlyph(const std::vector<QRgb>& colors, int size = 32) {
    QImage image(size * static_cast<int>(colors.size()), size, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (size_t i = 0; i < colors.size(); ++i)
        for (int y = size / 4; y < size * 3 / 4; ++y)
            for (int x = size / 4; x < size * 3 / 4; ++x)
                image.setPixel(static_cast<int>(i) * size + x, y, 0xFF000000 | colors[i]);
    return image;
}

// The 32 x 32 test glyph: on white, red (8..15, 8..23) with a white hole at (10, 10), green
// (16..23, 8..23) and blue (8..23, 24..27).
inline QImage TestGlyph() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            image.setPixel(x, y, x < 16 ? 0xFFFF0000 : 0xFF00FF00);
    for (int y = 24; y < 28; ++y)
        for (int x = 8; x < 24; ++x)
            image.setPixel(x, y, 0xFF0000FF);
    image.setPixel(10, 10, 0xFFFFFFFF);
    return image;
}

struct ButtonWindow {
    ButtonWindow() {
        window.resize(140, 120);
        button = new TTransparentButton(&window);
        button->SetBounds(10, 10, 40, 40);
        // Far from where the window appears, so that no control starts under the pointer.
        QCursor::setPos(QPoint(700, 500));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        Away();
    }

    // The button's area as the window shows it.
    QImage Look() {
        return window.grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .copy(button->Left(), button->Top(), button->Width(), button->Height());
    }
    static QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

    void Hover(QPoint at = {20, 20}) { QTest::mouseMove(button, at); }
    // Two moves, because a move to where the pointer already is reaches nobody.
    void Away() {
        QTest::mouseMove(&window, QPoint(129, 109));
        QTest::mouseMove(&window, QPoint(130, 110));
    }
    void Press(QPoint at = {20, 20}, Qt::MouseButton which = Qt::LeftButton) {
        QTest::mousePress(button, which, {}, at);
    }
    void Release(QPoint at = {20, 20}, Qt::MouseButton which = Qt::LeftButton) {
        QTest::mouseRelease(button, which, {}, at);
    }

    PaintedParent window;
    TTransparentButton* button;
};

} // namespace button_test
