#pragma once
// A canvas on a one-pixel image, for measuring text in a font outside painting: the height of
// a list's entries, the size a label's caption needs. Made on first use and kept.

#include "framework/TCanvas.h"

#include <QFont>
#include <QImage>
#include <memory>

class TMeasuringCanvas {
public:
    // The canvas, with `font` as its text font.
    TCanvas& With(const QFont& font);

private:
    QImage image_;
    std::unique_ptr<TCanvas> canvas_;
};
