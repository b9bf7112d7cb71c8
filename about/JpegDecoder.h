#pragma once
// Decodes a JPEG held in memory with libjpeg: full size, accurate inverse DCT, block smoothing,
// colour output; either 24-bit pixels or, for displays of 8 bits or fewer, 236 colours chosen by
// the library's two-pass quantiser with dithering.

#include <QByteArray>
#include <QImage>

struct JpegDecodeResult {
    QImage Image;      // Format_RGB32, or Format_Indexed8 with the palette when quantised
    int ErrorCode = 0; // libjpeg's message code when decoding failed, else 0
};

JpegDecodeResult DecodeJpeg(const QByteArray& data, bool quantizeTo236Colors);
