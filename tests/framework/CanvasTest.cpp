#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TImageList.h"
#include "framework/TextLayout.h"

#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QImage Blank(int w, int h, QRgb fill = 0xFFFFFFFF) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

int CountPixels(const QImage& image, QRgb rgb) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
    return n;
}

} // namespace

TEST(Canvas, LinesLeaveOutTheirEndPoint) {
    QImage image = Blank(10, 10);
    {
        TCanvas canvas(&image);
        canvas.Pen.Color = clBlack;
        canvas.MoveTo(1, 1);
        canvas.LineTo(5, 1);
        canvas.MoveTo(8, 2);
        canvas.LineTo(8, 6);
    }
    EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(4, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(5, 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(8, 5) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(8, 6) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(CountPixels(image, 0), 8);
}

TEST(Canvas, RectangleOutlinesInsideAndFillsWithTheBrush) {
    QImage image = Blank(12, 12);
    {
        TCanvas canvas(&image);
        canvas.Brush.Color = clBtnFace;
        canvas.Pen.Color = clRed;
        canvas.Pen.Width = 2;
        canvas.Rectangle({1, 1, 11, 11});
    }
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(10, 10)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(3, 3)), QColor(192, 192, 192));
    EXPECT_EQ(image.pixel(11, 11) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(TextLayout, PrefixesAreStrippedAndTheNextLetterUnderlined) {
    struct Case {
        const char* in;
        const char* shown;
        int underlined;
    };
    for (const Case& c : {Case{"&Yes", "Yes", 0}, Case{"N&o to All", "No to All", 1},
                          Case{"a && b", "a & b", -1}, Case{"end&", "end", -1},
                          Case{"plain", "plain", -1}}) {
        const PrefixedText t = StripPrefixes(QString::fromUtf8(c.in));
        EXPECT_EQ(t.Text, QString::fromUtf8(c.shown)) << c.in;
        EXPECT_EQ(t.Underlined, c.underlined) << c.in;
    }
}

TEST(TextLayout, WrapsBetweenWordsAndKeepsLongWordsWhole) {
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance("aaaa bbbb");
    const QList<WrappedLine> lines = WrapText("aaaa bbbb cccc\nC:\\a\\very\\long\\path", metrics, width);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].Text, "aaaa bbbb");
    EXPECT_EQ(lines[1].Text, "cccc");
    EXPECT_EQ(lines[2].Text, "C:\\a\\very\\long\\path");
    EXPECT_EQ(lines[2].Start, 15);
}

TEST(Canvas, DrawTextMeasuresWithoutDrawing) {
    QImage image = Blank(200, 100);
    TCanvas canvas(&image);
    const int lineHeight = QFontMetrics(canvas.QtFont()).height();
    TRect r{0, 0, 200, 0};
    const int h = canvas.DrawText("one two\nthree", r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(h, 2 * lineHeight);
    EXPECT_EQ(r.Bottom, 2 * lineHeight);
    EXPECT_EQ(r.Right, canvas.TextWidth("one two"));
    TRect single{0, 0, 10, 0};
    canvas.DrawText("&Yes", single, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(single.Right, canvas.TextWidth("Yes"));
    EXPECT_EQ(CountPixels(image, 0), 0);
}

TEST(Canvas, DrawTextCentresASingleLineVertically) {
    QImage image = Blank(100, 40);
    {
        TCanvas canvas(&image);
        canvas.Font.SetColor(clBlack);
        TRect r{10, 0, 100, 40};
        canvas.DrawText("Hx", r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    int top = -1, bottom = -1, left = 1000;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0) {
                top = top < 0 ? y : top;
                bottom = y;
                left = qMin(left, x);
            }
    ASSERT_GE(top, 0);
    EXPECT_GE(left, 10);
    EXPECT_LE(qAbs((top + bottom) / 2 - 20), 4);
}

TEST(Font, PositiveHeightIsTheCellNegativeTheCharacters) {
    TFont font;
    font.SetHeight(-11);
    EXPECT_EQ(font.ToQFont().pixelSize(), 11);
    EXPECT_EQ(font.Size(), 8);
    font.SetHeight(16);
    EXPECT_LE(FontTextHeight(font.ToQFont()), 16);
    font.SetHeight(10);
    EXPECT_LE(FontTextHeight(font.ToQFont()), 10);
    EXPECT_EQ(SubstituteFontFace("MS Sans Serif"), "DejaVu Sans");
}

TEST(Font, SetSizeUsesTheDesktopResolution) {
    TFont font;
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
    int changes = 0;
    font.OnChange = [&] { ++changes; };
    font.SetSize(8);
    font.SetStyle(static_cast<int>(TFontStyle::fsBold));
    EXPECT_EQ(changes, 1);
}

TEST(ImageList, MasksEveryPixelOfTheKeyColour) {
    TBitmap bitmap(4, 2);
    bitmap.Image().fill(QColor(0, 0, 255));
    bitmap.SetPixel(1, 0, clRed);
    bitmap.SetPixel(2, 1, clWhite);
    TImageList list(4, 2);
    EXPECT_EQ(list.AddMasked(bitmap, clBlue), 0);
    const QImage& masked = list.MaskedImage(0);
    EXPECT_EQ(qAlpha(masked.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(masked.pixel(1, 0)), 255);
    EXPECT_EQ(qAlpha(masked.pixel(2, 1)), 255);

    QImage target = Blank(6, 4, 0xFF00FF00);
    {
        TCanvas canvas(&target);
        list.Draw(canvas, 1, 1, 0, true);
    }
    EXPECT_EQ(QColor(target.pixel(1, 1)), QColor(0, 255, 0));
    EXPECT_EQ(QColor(target.pixel(2, 1)), QColor(255, 0, 0));
    QImage opaque = Blank(6, 4, 0xFF00FF00);
    {
        TCanvas canvas(&opaque);
        list.Draw(canvas, 1, 1, 0, false, clBtnFace);
    }
    EXPECT_EQ(QColor(opaque.pixel(1, 1)), QColor(192, 192, 192));
}

TEST(Bitmap, ChangesAreAnnounced) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    int changes = 0;
    bitmap.OnChange = [&] { ++changes; };
    bitmap.SetSize(3, 2);
    QImage other(5, 5, QImage::Format_ARGB32);
    other.fill(Qt::red);
    bitmap.Assign(other);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(bitmap.Pixel(0, 0), clRed);
}

TEST(Colors, SystemColoursResolveThroughTheScheme) {
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080u);
    EXPECT_EQ(ColorToRGB(clHighlight), 0x800000u);
    EXPECT_EQ(ToQColor(clHighlight), QColor(0, 0, 128));
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    TColor c = 0;
    EXPECT_TRUE(ColorFromName("clPurple", c));
    EXPECT_EQ(c, 0x800080u);
    EXPECT_TRUE(ColorFromName("$00FF00", c));
    EXPECT_EQ(c, 0x00FF00u);
    EXPECT_FALSE(ColorFromName("clNothing", c));
}
