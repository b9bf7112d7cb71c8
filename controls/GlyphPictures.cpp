#include "controls/GlyphPictures.h"

#include "framework/ClassicStyle.h"
#include "framework/Exceptions.h"

#include <QImage>
#include <algorithm>
#include <limits>

namespace {

QRgb Rgb(TColor color) {
    return ToQColor(color).rgb();
}

bool SameColor(QRgb a, QRgb b) {
    return (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

} // namespace

void MakeGrayBitmap(TBitmap& bitmap, int redWeight, int greenWeight, int blueWeight) {
    if (bitmap.Empty())
        return;
    const int total = redWeight + greenWeight + blueWeight;
    if (redWeight < 0 || greenWeight < 0 || blueWeight < 0 || total <= 0)
        throw EInvalidOperation(QStringLiteral("Invalid gray weights %1, %2, %3")
                                    .arg(redWeight)
                                    .arg(greenWeight)
                                    .arg(blueWeight));
    QImage& image = bitmap.Image();
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int gray = (redWeight * qRed(line[x]) + greenWeight * qGreen(line[x]) +
                              blueWeight * qBlue(line[x])) /
                             total;
            line[x] = qRgb(gray, gray, gray);
        }
    }
    bitmap.Changed();
}

void MakeDisabledBitmap(TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    QImage& image = bitmap.Image();
    const QRgb key = image.pixel(0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb black = qRgb(0, 0, 0);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = SameColor(line[x], white) || SameColor(line[x], key) ? key : black;
    }
    EmbossBitmap(bitmap);
}

void EmbossBitmap(TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    const QImage& source = bitmap.Image();
    const int width = source.width();
    const int height = source.height();
    // The one-bit mask: set where the picture is black.
    QImage mask(width, height, QImage::Format_Mono);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask.setPixel(x, y, SameColor(source.pixel(x, y), qRgb(0, 0, 0)) ? 1 : 0);
    QImage result(width, height, QImage::Format_RGB32);
    result.fill(Rgb(clBtnFace));
    const QRgb highlight = Rgb(clBtnHighlight);
    const QRgb shadow = Rgb(clBtnShadow);
    for (int y = 0; y + 1 < height; ++y)
        for (int x = 0; x + 1 < width; ++x)
            if (mask.pixelIndex(x, y))
                result.setPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (mask.pixelIndex(x, y))
                result.setPixel(x, y, shadow);
    bitmap.Assign(result);
}

void DrawBevel(TCanvas& canvas, TRect& r, TColor top, TColor bottom, unsigned width) {
    canvas.Pen.Width = 1;
    // Far more rings than any control has pixels only shrink the rectangle; keep the arithmetic
    // in range.
    const int rings =
        static_cast<int>(std::min<unsigned>(width, std::numeric_limits<int>::max() / 4));
    // The rings are the classic style's; only the rectangle shrinks by every ring asked for,
    // drawn or not.
    TRect inside = r;
    Frame3D(canvas, inside, top, bottom, rings);
    r = {r.Left + rings, r.Top + rings, r.Right - rings, r.Bottom - rings};
}
