#pragma once
// A font as windows and controls describe it: face name, Windows height rule (a positive height
// is the text cell's height, a negative one the characters' height, both in pixels), style,
// colour and character set. Faces of the old desktop are substituted by what Linux has.

#include "framework/TColor.h"

#include <QFont>
#include <QString>

#include <functional>

enum class TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    TFont();

    QString Name() const { return name_; }
    void SetName(const QString& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points at 96 pixels per inch: Size 8 is Height -11.
    int Size() const;
    void SetSize(int points);
    int Style() const { return style_; } // a set of TFontStyle bits
    void SetStyle(int style);
    bool HasStyle(TFontStyle s) const { return style_ & static_cast<int>(s); }
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Charset() const { return charset_; }
    void SetCharset(int charset);

    void Assign(const TFont& other);
    bool operator==(const TFont& other) const;

    // The Qt font with the substituted face and a pixel size that honours the height rule.
    QFont ToQFont() const;
    // Takes face, height and style from a Qt font (colour and charset stay).
    void AssignQFont(const QFont& font);

    // Raised after every change.
    std::function<void()> OnChange;

private:
    void Changed();

    QString name_;
    int height_;
    int style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = 1; // DEFAULT_CHARSET
};

// The Linux face that stands in for a face name of the old desktop.
QString SubstituteFontFace(const QString& face);
// Height of the text cell of a font in pixels (ascent plus descent).
int FontTextHeight(const QFont& font);
