#pragma once
// Drawing surface of a control or bitmap: a brush, a pen and a font over a QPainter, with the
// pixel-exact primitives of the old desktop (lines without their end point, rectangles with
// exclusive right and bottom edges) and its text drawing call.

#include "framework/DrawTextFlags.h"
#include "framework/TColor.h"
#include "framework/TFont.h"
#include "framework/TRect.h"

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QString>

#include <memory>

class TBitmap;

class TCanvas {
public:
    struct TBrush {
        TColor Color = clWhite;
        bool Clear = false; // hollow: rectangles are not filled, text has no background
    };
    struct TPen {
        TColor Color = clBlack;
        int Width = 1;
    };

    // Paints on a device (widget or image) with a painter of its own.
    explicit TCanvas(QPaintDevice* device);
    // Paints through a painter that someone else has begun.
    explicit TCanvas(QPainter& painter);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TBrush Brush;
    TPen Pen;
    TFont Font;
    // Uses a widget's Qt font for text; Font.Color() stays the text colour.
    void SetQFont(const QFont& font);
    const QFont& QtFont() const { return qfont_; }

    void FillRect(const TRect& r);
    // Outline in the pen (Pen.Width rings inside r) around an interior filled with the brush.
    void Rectangle(const TRect& r);
    void MoveTo(int x, int y);
    // A line from the pen position to (x, y), without the end point.
    void LineTo(int x, int y);
    void SetPixel(int x, int y, TColor color);

    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const;
    // Text with its top-left corner at (x, y), on the brush colour unless the brush is clear.
    void TextOut(int x, int y, const QString& text);
    // The desktop's text drawing call: wraps, aligns, expands tabs and underlines "&" prefixes
    // as the flags say; with DT_CALCRECT only measures, moving r's right and bottom edges.
    // Returns the height of the text.
    int DrawText(const QString& text, TRect& r, unsigned flags);

    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& r, const TBitmap& bitmap);

    QPainter& Painter() { return *painter_; }

private:
    std::unique_ptr<QPainter> own_;
    QPainter* painter_;
    QFont qfont_;
    QPoint penPos_;
};
