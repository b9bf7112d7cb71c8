#pragma once
// A list of equally sized images, each with a transparency mask made from one key colour:
// every pixel of exactly that colour is transparent.

#include "framework/TBitmap.h"

#include <QImage>
#include <vector>

class TCanvas;

class TImageList {
public:
    TImageList(int width = 16, int height = 16);

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height); // clears the list
    int Count() const { return static_cast<int>(images_.size()); }
    void Clear();

    // Appends the bitmap (cut or padded to the list's size), transparent where it has the
    // colour maskColor; returns its index.
    int AddMasked(const TBitmap& bitmap, TColor maskColor);

    // Draws image index with its top-left at (x, y). Transparent: masked pixels leave what is
    // beneath; otherwise they are filled with background.
    void Draw(TCanvas& canvas, int x, int y, int index, bool transparent,
              TColor background = clBtnFace) const;

    // The image with its masked pixels fully transparent (for tests and painting).
    const QImage& MaskedImage(int index) const { return images_.at(static_cast<size_t>(index)); }

private:
    int width_;
    int height_;
    std::vector<QImage> images_; // ARGB32, alpha 0 where masked
};
