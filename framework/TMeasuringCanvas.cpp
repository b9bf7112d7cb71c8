#include "framework/TMeasuringCanvas.h"

TCanvas& TMeasuringCanvas::With(const QFont& font) {
    if (!canvas_) {
        image_ = QImage(1, 1, QImage::Format_RGB32);
        canvas_ = std::make_unique<TCanvas>(&image_);
    }
    canvas_->SetQFont(font);
    return *canvas_;
}
