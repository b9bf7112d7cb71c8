#include "framework/TImage.h"

#include "framework/TApplication.h"

#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {
    resize(105, 105);
}

void TImage::SetImage(const QImage& image) {
    image_ = image;
    data_.clear();
    painter_ = nullptr;
    update();
}

void TImage::SetPictureData(const QByteArray& data) {
    data_ = data;
    image_ = QImage();
    decodeTried_ = false;
    update();
}

void TImage::SetPictureDecoder(TPictureDecoder decoder) {
    decoder_ = std::move(decoder);
    decodeTried_ = false;
    update();
}

void TImage::SetPicturePainter(TPicturePainter painter) {
    painter_ = std::move(painter);
    update();
}

void TImage::SetStretch(bool stretch) {
    if (stretch_ == stretch)
        return;
    stretch_ = stretch;
    update();
}

void TImage::SetCenter(bool center) {
    if (center_ == center)
        return;
    center_ = center;
    update();
}

void TImage::DecodeOnce() {
    if (decodeTried_ || data_.isEmpty() || !decoder_)
        return;
    // One attempt only: a picture that cannot be decoded is not decoded again on every paint.
    decodeTried_ = true;
    image_ = decoder_(data_);
}

QRect TImage::PictureRect(const QSize& size) const {
    if (stretch_)
        return rect();
    if (center_)
        return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    return QRect(QPoint(0, 0), size);
}

void TImage::paintEvent(QPaintEvent*) {
    CallPaintHandler(this, [this] {
        DecodeOnce();
        QPainter painter(this);
        if (painter_)
            painter_(painter, rect());
        else if (!image_.isNull())
            painter.drawImage(PictureRect(image_.size()), image_);
    });
}
