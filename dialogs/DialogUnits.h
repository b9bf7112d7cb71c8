#pragma once
// Dialog units: the run-time dialogs are laid out in quarters of their font's average character
// width and eighths of its character height, so they grow with the desktop's font.

#include <QFont>
#include <QSize>

// number * numerator / denominator with a 64-bit product, rounded to the nearest integer with
// halves away from zero; -1 when the denominator is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);

// The dialog units of a font: width is the width of "A".."Z" followed by "a".."z" divided by 52
// (truncating), height that text's height.
QSize AverageCharSize(const QFont& font);

// Converts dialog units to pixels for one font's average character size.
class TDialogUnits {
public:
    explicit TDialogUnits(QSize averageChar) : x_(averageChar.width()), y_(averageChar.height()) {}

    int Horz(int units) const { return MulDiv(units, x_, 4); }
    int Vert(int units) const { return MulDiv(units, y_, 8); }

private:
    int x_;
    int y_;
};
