#include "about/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

extern "C" void ExitOnError(j_common_ptr info) {
    // libjpeg must not return from here; jump back into DecodeInto, across libjpeg's C frames
    // only.
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

extern "C" void KeepQuiet(j_common_ptr, int) {}

// Owns the decompressor so that it is destroyed on every way out.
class Decompressor {
public:
    Decompressor() { info.err = nullptr; }
    ~Decompressor() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct info;
    bool created = false;
};

// Runs the decompression. Everything it touches after setjmp lives in the caller's frame, so the
// long jump of an error skips no C++ destructor.
int DecodeInto(Decompressor& d, ErrorManager& errors, const QByteArray& data, bool quantize,
               std::vector<unsigned char>& pixels, int& width, int& height, int& components,
               std::vector<QRgb>& palette) {
    d.info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ExitOnError;
    errors.base.emit_message = KeepQuiet;
    if (setjmp(errors.escape))
        return errors.base.msg_code == 0 ? 1 : errors.base.msg_code;
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.info, TRUE);
    d.info.scale_num = 1;
    d.info.scale_denom = 1;
    d.info.dct_method = JDCT_ISLOW;
    d.info.do_block_smoothing = TRUE;
    d.info.buffered_image = FALSE;
    d.info.out_color_space = d.info.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    if (quantize) {
        d.info.quantize_colors = TRUE;
        d.info.desired_number_of_colors = 236;
        d.info.two_pass_quantize = TRUE;
        d.info.dither_mode = JDITHER_FS;
    }
    jpeg_start_decompress(&d.info);
    width = static_cast<int>(d.info.output_width);
    height = static_cast<int>(d.info.output_height);
    components = d.info.output_components;
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(components);
    pixels.resize(stride * static_cast<size_t>(height));
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = pixels.data() + stride * d.info.output_scanline;
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    if (quantize) {
        palette.resize(static_cast<size_t>(d.info.actual_number_of_colors));
        for (int i = 0; i < d.info.actual_number_of_colors; ++i) {
            const bool grey = d.info.out_color_components == 1;
            palette[static_cast<size_t>(i)] =
                qRgb(d.info.colormap[0][i], d.info.colormap[grey ? 0 : 1][i],
                     d.info.colormap[grey ? 0 : 2][i]);
        }
    }
    jpeg_finish_decompress(&d.info);
    return 0;
}

} // namespace

JpegDecodeResult DecodeJpeg(const QByteArray& data, bool quantizeTo236Colors) {
    Decompressor decompressor;
    ErrorManager errors{};
    std::vector<unsigned char> pixels;
    std::vector<QRgb> palette;
    int width = 0;
    int height = 0;
    int components = 0;
    JpegDecodeResult result;
    result.ErrorCode = DecodeInto(decompressor, errors, data, quantizeTo236Colors, pixels, width,
                                  height, components, palette);
    if (result.ErrorCode != 0)
        return result;
    if (quantizeTo236Colors) {
        QImage image(width, height, QImage::Format_Indexed8);
        image.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
        for (int y = 0; y < height; ++y)
            std::copy_n(pixels.data() + static_cast<size_t>(y) * width, width, image.scanLine(y));
        result.Image = image;
        return result;
    }
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const unsigned char* in = pixels.data() + static_cast<size_t>(y) * width * components;
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += components)
            out[x] = components == 1 ? qRgb(in[0], in[0], in[0]) : qRgb(in[0], in[1], in[2]);
    }
    result.Image = image;
    return result;
}
