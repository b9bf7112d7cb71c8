#pragma once
// A picture on its parent's surface, drawn at its top-left corner, centred or stretched to the
// control. The picture is a bitmap, a painter callback (for pictures that draw themselves, such
// as icons), or encoded data kept undecoded until the first paint, when the decoder given by
// the owner turns it into the bitmap that serves every later paint.

#include "framework/TBitmap.h"

#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <functional>

class TImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QByteArray Picture READ PictureData WRITE SetPictureData)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)

public:
    // Decodes the encoded picture; raises an exception when it cannot.
    using TPictureDecoder = std::function<QImage(const QByteArray& data)>;
    using TPicturePainter = std::function<void(QPainter& painter, const QRect& rect)>;

    explicit TImage(QWidget* parent = nullptr);

    // The decoded picture (null until decoded or set).
    const QImage& Image() const { return image_; }
    void SetImage(const QImage& image);
    void SetBitmap(const TBitmap& bitmap) { SetImage(bitmap.Image()); }
    QByteArray PictureData() const { return data_; }
    void SetPictureData(const QByteArray& data);
    void SetPictureDecoder(TPictureDecoder decoder);
    void SetPicturePainter(TPicturePainter painter);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DecodeOnce();
    QRect PictureRect(const QSize& size) const;

    QImage image_;
    QByteArray data_;
    TPictureDecoder decoder_;
    TPicturePainter painter_;
    bool decodeTried_ = false;
    bool stretch_ = false;
    bool center_ = false;
};
