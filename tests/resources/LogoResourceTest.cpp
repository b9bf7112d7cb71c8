// The about box's logo: generated at build time, compiled into the resources, and a JPEG of the
// exact kind the about box's libjpeg decoder is set up for.
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QRect>
#include <csetjmp>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace {

// libjpeg gives up through error_exit, which must not return: it jumps back to the step that
// was running, with the decoder's message kept for the test's report.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jumpOnError(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

struct Decompressor {
    jpeg_decompress_struct info{};
    JpegError error{};
    explicit Decompressor(const QByteArray& data) {
        info.err = jpeg_std_error(&error.manager);
        error.manager.error_exit = jumpOnError;
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                     static_cast<unsigned long>(data.size()));
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
};

bool readHeader(Decompressor& d) {
    if (setjmp(d.error.jump))
        return false;
    return jpeg_read_header(&d.info, TRUE) == JPEG_HEADER_OK;
}

// Decodes into an RGB image the size of the header; false when libjpeg reported an error.
bool decodeInto(Decompressor& d, QImage& image) {
    if (setjmp(d.error.jump))
        return false;
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = image.scanLine(int(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

QByteArray logoBytes() {
    QFile file(QStringLiteral(":/logo/logo.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Logo, IsABaselineJfifJpegOfTheAboutBoxKind) {
    const QByteArray data = logoBytes();
    ASSERT_FALSE(data.isEmpty()) << ":/logo/logo.jpg is missing from the resources";
    EXPECT_GE(data.size(), 5000);
    EXPECT_LE(data.size(), 7000);
    Decompressor d(data);
    ASSERT_TRUE(readHeader(d)) << d.error.message;
    EXPECT_EQ(d.info.image_width, 263u);
    EXPECT_EQ(d.info.image_height, 115u);
    EXPECT_EQ(d.info.num_components, 3);
    EXPECT_EQ(d.info.data_precision, 8);
    EXPECT_FALSE(d.info.progressive_mode);
    EXPECT_FALSE(d.info.arith_code);
    EXPECT_EQ(d.info.comp_info[0].h_samp_factor, 2);
    EXPECT_EQ(d.info.comp_info[0].v_samp_factor, 2);
    for (int c = 1; c < 3; ++c) {
        EXPECT_EQ(d.info.comp_info[c].h_samp_factor, 1);
        EXPECT_EQ(d.info.comp_info[c].v_samp_factor, 1);
    }
    ASSERT_TRUE(d.info.saw_JFIF_marker);
    EXPECT_EQ(d.info.JFIF_major_version, 1);
    EXPECT_EQ(d.info.JFIF_minor_version, 1);
    EXPECT_EQ(d.info.density_unit, 1) << "dots per inch";
    EXPECT_EQ(d.info.X_density, 120);
    EXPECT_EQ(d.info.Y_density, 120);
}

// Counts the pixels of an area that pass a colour test.
template <typename Test> int countPixels(const QImage& image, QRect area, Test test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

TEST(Logo, ShowsGreenAndRedLettersOnADarkGroundAboveARowOfRunes) {
    const QByteArray data = logoBytes();
    Decompressor d(data);
    ASSERT_TRUE(readHeader(d)) << d.error.message;
    QImage image(int(d.info.image_width), int(d.info.image_height), QImage::Format_RGB888);
    ASSERT_TRUE(decodeInto(d, image)) << d.error.message;

    const int dark = countPixels(image, image.rect(), [](QRgb p) { return qGray(p) < 64; });
    EXPECT_GT(dark, image.width() * image.height() / 2) << "a dark background";
    // The first two letters, tall and green, take the left third.
    const int green = countPixels(image, QRect(10, 8, 90, 80), [](QRgb p) {
        return qGreen(p) > qRed(p) + 40 && qGreen(p) > qBlue(p) + 20;
    });
    EXPECT_GT(green, 600);
    const int redOnLeft = countPixels(image, QRect(10, 8, 90, 80), [](QRgb p) {
        return qRed(p) > qGreen(p) + 100 && qRed(p) > qBlue(p) + 60;
    });
    EXPECT_LT(redOnLeft, 50);
    // The smaller red letters stand on the same line to the right.
    const int red = countPixels(image, QRect(104, 40, 152, 46), [](QRgb p) {
        return qRed(p) > qGreen(p) + 100 && qRed(p) > qBlue(p) + 60;
    });
    EXPECT_GT(red, 600);
    EXPECT_EQ(countPixels(image, QRect(104, 8, 152, 28), [](QRgb p) { return qGray(p) > 200; }), 0)
        << "nothing bright above the small letters";
    const int runes = countPixels(image, QRect(8, 91, 247, 20),
                                  [](QRgb p) { return qRed(p) > 120 && qGreen(p) > 110; });
    EXPECT_GT(runes, 150) << "a row of light runes along the bottom";
}

} // namespace
