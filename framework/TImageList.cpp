#include "framework/TImageList.h"

#include "framework/TCanvas.h"

#include <QPainter>

TImageList::TImageList(int width, int height) : width_(width), height_(height) {}

void TImageList::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    Clear();
}

void TImageList::Clear() { images_.clear(); }

int TImageList::AddMasked(const TBitmap& bitmap, TColor maskColor) {
    const QRgb key = ToQColor(maskColor).rgb() & 0xFFFFFF;
    QImage image(width_, height_, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QImage& source = bitmap.Image();
    for (int y = 0; y < qMin(height_, bitmap.Height()); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < qMin(width_, bitmap.Width()); ++x) {
            const QRgb rgb = in[x] & 0xFFFFFF;
            out[x] = rgb == key ? 0 : (0xFF000000u | rgb);
        }
    }
    images_.push_back(std::move(image));
    return Count() - 1;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool transparent,
                      TColor background) const {
    if (index < 0 || index >= Count())
        return;
    QPainter& painter = canvas.Painter();
    if (!transparent)
        painter.fillRect(x, y, width_, height_, ToQColor(background));
    painter.drawImage(x, y, images_[static_cast<size_t>(index)]);
}
