#include "framework/TFont.h"

#include <QFontMetrics>
#include <QHash>

namespace {

constexpr int kPixelsPerInch = 96;

QFont BaseFont(const QString& face, int style) {
    QFont font(SubstituteFontFace(face));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setBold(style & static_cast<int>(TFontStyle::fsBold));
    font.setItalic(style & static_cast<int>(TFontStyle::fsItalic));
    font.setUnderline(style & static_cast<int>(TFontStyle::fsUnderline));
    font.setStrikeOut(style & static_cast<int>(TFontStyle::fsStrikeOut));
    return font;
}

} // namespace

TFont::TFont() : name_(QStringLiteral("MS Sans Serif")), height_(-11) {}

void TFont::SetName(const QString& name) {
    if (name_ != name) {
        name_ = name;
        Changed();
    }
}

void TFont::SetHeight(int height) {
    if (height_ != height) {
        height_ = height;
        Changed();
    }
}

int TFont::Size() const { return -((height_ * 72 - (height_ < 0 ? 48 : -48)) / kPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-((points * kPixelsPerInch + 36) / 72)); }

void TFont::SetStyle(int style) {
    if (style_ != style) {
        style_ = style;
        Changed();
    }
}

void TFont::SetColor(TColor color) {
    if (color_ != color) {
        color_ = color;
        Changed();
    }
}

void TFont::SetCharset(int charset) {
    if (charset_ != charset) {
        charset_ = charset;
        Changed();
    }
}

void TFont::Assign(const TFont& other) {
    if (*this == other)
        return;
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    Changed();
}

bool TFont::operator==(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
           color_ == other.color_ && charset_ == other.charset_;
}

QFont TFont::ToQFont() const {
    QFont font = BaseFont(name_, style_);
    if (height_ < 0) {
        font.setPixelSize(-height_);
        return font;
    }
    // A positive height asks for the largest font whose whole text cell fits in it.
    const int cell = height_ == 0 ? 13 : height_;
    int size = cell;
    for (; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cell)
            break;
    }
    font.setPixelSize(size);
    return font;
}

void TFont::AssignQFont(const QFont& font) {
    name_ = font.family();
    height_ = font.pixelSize() > 0 ? -font.pixelSize()
                                   : -qRound(font.pointSizeF() * kPixelsPerInch / 72.0);
    style_ = (font.bold() ? static_cast<int>(TFontStyle::fsBold) : 0) |
             (font.italic() ? static_cast<int>(TFontStyle::fsItalic) : 0) |
             (font.underline() ? static_cast<int>(TFontStyle::fsUnderline) : 0) |
             (font.strikeOut() ? static_cast<int>(TFontStyle::fsStrikeOut) : 0);
    Changed();
}

void TFont::Changed() {
    if (OnChange)
        OnChange();
}

QString SubstituteFontFace(const QString& face) {
    // DejaVu Sans at 11 pixels has the old dialog font's average character cell of 6 x 13, so
    // dialog units come out the same.
    static const QHash<QString, QString> faces = {
        {QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono")},
        {QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif")},
    };
    return faces.value(face, face);
}

int FontTextHeight(const QFont& font) { return QFontMetrics(font).height(); }
