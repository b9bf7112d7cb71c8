#pragma once
// A bitmap picture held as a 32-bit QImage (the alpha byte is not used), with a change event so
// that a control can rebuild what it derives from the picture. Bitmaps hold no display
// resources, so there is nothing to give back after painting.

#include "framework/TColor.h"

#include <QImage>
#include <QString>

#include <functional>

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull() || image_.width() == 0 || image_.height() == 0; }
    // Resizes to width x height; new pixels are white.
    void SetSize(int width, int height);

    // The picture. Code that draws into Image() calls Changed() afterwards.
    const QImage& Image() const { return image_; }
    QImage& Image() { return image_; }
    void Changed();

    // Copies another picture (converted to 32-bit RGB); raises the change event.
    void Assign(const TBitmap& other);
    void Assign(const QImage& image);
    // Loads the named bitmap of the program's resources (":/bitmaps/NAME.xpm"); false if none.
    bool LoadFromResourceName(const QString& name);

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color); // does not raise the change event

    std::function<void()> OnChange;

private:
    QImage image_;
};
