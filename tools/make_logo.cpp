// Writes "logo.jpg", the maker's logo of the about box: the name KRUMLAK in the straight segments
// of a digital display over blended red, green and blue glows, with a row of runes along the
// bottom edge. The picture is drawn in code and encoded as a baseline JFIF file with libjpeg, so
// that the decoder of the about box meets the same kind of file the program always shipped.
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int LogoWidth = 263;
constexpr int LogoHeight = 115;
// Chosen so that the file comes out at about 5.9 KB, the size of the logo the program has always
// carried; a change to the drawing may need a new value.
constexpr int JpegQuality = 57;

// A letter of the segment display, on a grid two cells wide and two high: each segment joins two
// of the nine grid points, numbered row by row from the top left (0 1 2 / 3 4 5 / 6 7 8).
struct Segment {
    int from;
    int to;
};
using Letter = std::vector<Segment>;

const Letter LetterK = {{0, 3}, {3, 6}, {3, 4}, {4, 2}, {4, 8}};
const Letter LetterR = {{0, 3}, {3, 6}, {0, 2}, {2, 5}, {3, 5}, {4, 8}};
const Letter LetterU = {{0, 3}, {3, 6}, {6, 8}, {2, 5}, {5, 8}};
const Letter LetterM = {{0, 3}, {3, 6}, {2, 5}, {5, 8}, {0, 4}, {4, 2}};
const Letter LetterL = {{0, 3}, {3, 6}, {6, 8}};
const Letter LetterA = {{0, 3}, {3, 6}, {0, 2}, {2, 5}, {5, 8}, {3, 5}};

QPointF gridPoint(int index, QRectF cell) {
    return {cell.left() + cell.width() * (index % 3) / 2.0,
            cell.top() + cell.height() * (index / 3) / 2.0};
}

// One lit segment: a bar with pointed ends, shortened at both ends so that segments meeting at a
// grid point stay apart, as on a real display.
QPolygonF segmentShape(QPointF a, QPointF b, double thickness, double gap) {
    QLineF line(a, b);
    const double length = line.length();
    const QPointF dir = (b - a) / length;
    const QPointF normal(-dir.y(), dir.x());
    const QPointF start = a + dir * gap;
    const QPointF end = b - dir * gap;
    const double half = thickness / 2;
    return QPolygonF({start, start + dir * half + normal * half, end - dir * half + normal * half,
                      end, end - dir * half - normal * half, start + dir * half - normal * half});
}

void drawLetter(QPainter& p, const Letter& letter, QRectF cell, double thickness, QColor fill,
                QColor rim) {
    p.setPen(QPen(rim, 1.2));
    p.setBrush(fill);
    for (const Segment& s : letter)
        p.drawPolygon(segmentShape(gridPoint(s.from, cell), gridPoint(s.to, cell), thickness,
                                   thickness * 0.3));
}

void drawGlow(QPainter& p, QPointF centre, double radius, QColor colour) {
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, colour);
    glow.setColorAt(1, Qt::black);
    p.setBrush(glow);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, radius, radius);
}

// Runes as strokes in a box one unit wide and two high (y grows downwards).
const std::vector<std::vector<QLineF>> Runes = {
    {{0, 0, 0, 2}, {0, 0.2, 1, 0}, {0, 0.8, 1, 0.4}},                         // fehu
    {{0, 0, 0, 2}, {0, 0, 1, 0.5}, {1, 0.5, 1, 2}},                           // uruz
    {{0, 0, 0, 2}, {0, 0.5, 1, 1}, {1, 1, 0, 1.5}},                           // thurisaz
    {{0, 0, 0, 2}, {0, 0, 1, 0.5}, {1, 0.5, 0, 1}, {0, 1, 1, 2}},             // raido
    {{1, 0.3, 0, 1}, {0, 1, 1, 1.7}},                                         // kaunan
    {{0, 0.3, 1, 1.7}, {1, 0.3, 0, 1.7}},                                     // gebo
    {{0, 0, 0, 2}, {1, 0, 1, 2}, {0, 0.6, 1, 1.2}},                           // hagalaz
    {{0.5, 0, 0.5, 2}, {0.1, 0.6, 0.9, 1.2}},                                 // naudiz
    {{0.5, 0, 0.5, 2}},                                                       // isaz
    {{0.5, 0, 0.5, 2}, {0.5, 0, 0, 0.6}, {0.5, 0, 1, 0.6}},                   // tiwaz
    {{0.5, 0, 0.5, 2}, {0, 0, 0.5, 0.6}, {1, 0, 0.5, 0.6}},                   // algiz
    {{0, 0, 0, 2}, {1, 0, 1, 2}, {0, 0, 1, 1}, {1, 0, 0, 1}},                 // mannaz
    {{0, 0, 0, 2}, {0, 1, 1, 0.6}},                                           // laguz
    {{0, 0.4, 1, 1.6}, {1, 0.4, 0, 1.6}, {0, 0.4, 0, 1.6}, {1, 0.4, 1, 1.6}}, // dagaz
};

void drawRunes(QPainter& p, QRectF band) {
    const double height = band.height();
    const double width = height / 2;
    const double step = width * 2.1;
    p.setPen(QPen(QColor(190, 170, 110), 1.4, Qt::SolidLine, Qt::FlatCap));
    int index = 0;
    for (double x = band.left(); x + width <= band.right(); x += step, ++index) {
        for (const QLineF& stroke : Runes[(index * 5) % Runes.size()]) {
            p.drawLine(QLineF(x + stroke.x1() * width, band.top() + stroke.y1() * width,
                              x + stroke.x2() * width, band.top() + stroke.y2() * width));
        }
    }
}

QImage drawLogo() {
    QImage image(LogoWidth, LogoHeight, QImage::Format_RGB32);
    image.fill(QColor(8, 8, 16));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    drawGlow(p, {62, 46}, 85, QColor(20, 120, 40));
    drawGlow(p, {190, 40}, 90, QColor(140, 25, 20));
    drawGlow(p, {135, 92}, 95, QColor(20, 40, 150));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);

    const QColor green(0, 96, 24);
    const QColor greenRim(120, 230, 140);
    drawLetter(p, LetterK, {14, 12, 34, 70}, 7, green, greenRim);
    drawLetter(p, LetterR, {60, 12, 34, 70}, 7, green, greenRim);
    const QColor red(220, 24, 16);
    const QColor redRim(255, 170, 120);
    const std::vector<const Letter*> rest = {&LetterU, &LetterM, &LetterL, &LetterA, &LetterK};
    for (std::size_t i = 0; i < rest.size(); ++i)
        drawLetter(p, *rest[i], {108 + 30.0 * i, 44, 20, 38}, 5, red, redRim);

    drawRunes(p, {12, 93, 240, 16});
    return image;
}

// libjpeg reports a fatal error through this hook; a build tool can only stop there.
[[noreturn]] void jpegFailed(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    std::fprintf(stderr, "make_logo: %s\n", message);
    std::exit(1);
}

struct Compressor {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    Compressor() {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = jpegFailed;
        jpeg_create_compress(&info);
    }
    ~Compressor() { jpeg_destroy_compress(&info); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
};

struct FreeBuffer {
    void operator()(unsigned char* p) const { std::free(p); }
};

std::vector<unsigned char> encodeJpeg(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    Compressor c;
    unsigned char* raw = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c.info, &raw, &size);
    c.info.image_width = rgb.width();
    c.info.image_height = rgb.height();
    c.info.input_components = 3;
    c.info.in_color_space = JCS_RGB;
    // The defaults give JFIF 1.01 with the luminance sampled 2 x 2 and the standard tables.
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, JpegQuality, TRUE);
    c.info.density_unit = 1; // dots per inch
    c.info.X_density = 120;
    c.info.Y_density = 120;
    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < c.info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(c.info.next_scanline)));
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    std::unique_ptr<unsigned char, FreeBuffer> buffer(raw);
    return std::vector<unsigned char>(buffer.get(), buffer.get() + size);
}

// Writes beside the target and renames, so that an interrupted build never leaves half a logo.
bool writeFile(const std::string& path, const std::vector<unsigned char>& data) {
    const std::string temporary = path + ".part";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_logo OUTPUT.jpg\n");
        return 2;
    }
    if (!writeFile(argv[1], encodeJpeg(drawLogo()))) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
