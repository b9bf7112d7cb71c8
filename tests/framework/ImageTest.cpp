#include "framework/Exceptions.h"
#include "framework/TImage.h"
#include "tests/support/ErrorBoxRecorder.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage Render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A 2 x 1 picture, red then blue, "encoded" as the text "red-blue".
QImage Decode(const QByteArray& data) {
    if (data != "red-blue")
        throw EJPEG("JPEG error #53");
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, 0xFFFF0000);
    image.setPixel(1, 0, 0xFF0000FF);
    return image;
}

} // namespace

TEST(ImagePicture, IsDecodedOnTheFirstPaintOnlyAndStretched) {
    TImage image;
    image.resize(214, 94);
    image.SetStretch(true);
    int decodes = 0;
    image.SetPictureDecoder([&decodes](const QByteArray& data) {
        ++decodes;
        return Decode(data);
    });
    image.SetPictureData("red-blue");
    EXPECT_EQ(decodes, 0);
    EXPECT_TRUE(image.Image().isNull());
    const QImage first = Render(image);
    Render(image);
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(image.Image().size(), QSize(2, 1));
    EXPECT_EQ(first.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(first.pixel(106, 93), 0xFFFF0000u);
    EXPECT_EQ(first.pixel(107, 0), 0xFF0000FFu);
    EXPECT_EQ(first.pixel(213, 93), 0xFF0000FFu);
}

TEST(ImagePicture, AFailedDecodeIsReportedOnceAfterThePaint) {
    ErrorBoxRecorder boxes;
    TImage image;
    image.resize(20, 20);
    image.SetPictureDecoder(Decode);
    image.SetPictureData("garbage");
    Render(image);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << "no modal box inside the paint";
    QTest::qWait(20);
    Render(image);
    QTest::qWait(20);
    EXPECT_EQ(boxes.Texts(), QStringList("JPEG error #53."));
    EXPECT_TRUE(image.Image().isNull());
}

TEST(ImagePicture, UnstretchedPicturesSitAtTheCornerOrInTheCentre) {
    TImage image;
    image.resize(10, 10);
    image.SetImage(Decode("red-blue"));
    QImage shown = Render(image);
    EXPECT_EQ(shown.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(shown.pixel(1, 0), 0xFF0000FFu);
    image.SetCenter(true);
    shown = Render(image);
    EXPECT_EQ(shown.pixel(4, 4), 0xFFFF0000u);
    EXPECT_EQ(shown.pixel(5, 4), 0xFF0000FFu);
}
