// Writes the program icon as PNG files for the desktop's icon theme: OUTPUT_DIR/NxN/NAME.png for
// each size asked for. Larger renderings repeat each pixel of the 32 x 32 picture, so the icon
// keeps its sharp pixel look; smaller ones are averaged, where single pixels would break up.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: make_icons SOURCE.xpm OUTPUT_DIR NAME SIZE...\n");
        return 2;
    }
    const QString sourcePath = QString::fromLocal8Bit(argv[1]);
    const QImage source(sourcePath, "XPM");
    if (source.isNull()) {
        std::fprintf(stderr, "make_icons: cannot read the picture %s\n", argv[1]);
        return 1;
    }
    const QDir outputDir(QString::fromLocal8Bit(argv[2]));
    const QString fileName = QString::fromLocal8Bit(argv[3]) + QStringLiteral(".png");
    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "make_icons: bad icon size %s\n", argv[i]);
            return 2;
        }
        const Qt::TransformationMode mode =
            size >= source.width() ? Qt::FastTransformation : Qt::SmoothTransformation;
        const QImage icon = source.convertToFormat(QImage::Format_ARGB32)
                                .scaled(size, size, Qt::IgnoreAspectRatio, mode);
        const QString sizeDir = QStringLiteral("%1x%1").arg(size);
        if (!outputDir.mkpath(sizeDir)) {
            std::fprintf(stderr, "make_icons: cannot create the folder for size %d\n", size);
            return 1;
        }
        const QString path = outputDir.filePath(sizeDir + QLatin1Char('/') + fileName);
        if (!icon.save(path, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
