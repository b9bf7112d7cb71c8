#include "framework/TBitmap.h"

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

void TBitmap::SetSize(int width, int height) {
    if (width == Width() && height == Height() && !image_.isNull())
        return;
    QImage sized(qMax(width, 0), qMax(height, 0), QImage::Format_RGB32);
    sized.fill(Qt::white);
    if (!image_.isNull()) {
        for (int y = 0; y < qMin(height, image_.height()); ++y)
            for (int x = 0; x < qMin(width, image_.width()); ++x)
                sized.setPixel(x, y, image_.pixel(x, y));
    }
    image_ = sized;
    Changed();
}

void TBitmap::Changed() {
    if (OnChange)
        OnChange();
}

void TBitmap::Assign(const TBitmap& other) { Assign(other.image_); }

void TBitmap::Assign(const QImage& image) {
    image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    Changed();
}

bool TBitmap::LoadFromResourceName(const QString& name) {
    QImage loaded(QStringLiteral(":/bitmaps/%1.xpm").arg(name));
    if (loaded.isNull())
        return false;
    Assign(loaded);
    return true;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (!image_.valid(x, y))
        return clBlack;
    return FromQColor(QColor::fromRgb(image_.pixel(x, y)));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (image_.valid(x, y))
        image_.setPixel(x, y, ToQColor(color).rgb());
}
