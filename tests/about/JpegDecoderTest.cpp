#include "about/JpegDecoder.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QByteArray EncodedPicture() {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(QColor(200, 20, 20));
    QPainter(&picture).fillRect(20, 0, 20, 20, QColor(20, 160, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", 90);
    return bytes;
}

bool Near(QRgb a, QColor b) {
    return qAbs(qRed(a) - b.red()) < 24 && qAbs(qGreen(a) - b.green()) < 24 &&
           qAbs(qBlue(a) - b.blue()) < 24;
}

} // namespace

TEST(JpegDecoder, DecodesToTrueColourAtFullSize) {
    const JpegDecodeResult result = DecodeJpeg(EncodedPicture(), false);
    ASSERT_EQ(result.ErrorCode, 0);
    EXPECT_EQ(result.Image.size(), QSize(40, 20));
    EXPECT_EQ(result.Image.format(), QImage::Format_RGB32);
    EXPECT_TRUE(Near(result.Image.pixel(5, 10), QColor(200, 20, 20)));
    EXPECT_TRUE(Near(result.Image.pixel(35, 10), QColor(20, 160, 40)));
}

TEST(JpegDecoder, QuantisesToAPaletteOfAtMost236Colours) {
    const JpegDecodeResult result = DecodeJpeg(EncodedPicture(), true);
    ASSERT_EQ(result.ErrorCode, 0);
    EXPECT_EQ(result.Image.format(), QImage::Format_Indexed8);
    EXPECT_GT(result.Image.colorCount(), 1);
    EXPECT_LE(result.Image.colorCount(), 236);
    EXPECT_TRUE(Near(result.Image.pixel(5, 10), QColor(200, 20, 20)));
}

TEST(JpegDecoder, BrokenDataGivesTheLibraryErrorCode) {
    QByteArray truncated = EncodedPicture();
    truncated.truncate(40);
    for (const QByteArray& bad : {QByteArray(), QByteArray("not a picture at all"), truncated}) {
        const JpegDecodeResult result = DecodeJpeg(bad, false);
        EXPECT_GT(result.ErrorCode, 0);
        EXPECT_TRUE(result.Image.isNull() || result.ErrorCode == 0);
    }
}
