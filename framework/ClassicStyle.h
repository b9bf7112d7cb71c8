#pragma once
// The look of the old desktop on Qt: the "Windows" style, a palette made from the desktop colour
// scheme, the default font ("MS Sans Serif" 8 pt), and the three-dimensional rings that panels,
// static texts and buttons draw around themselves.

#include "framework/TColor.h"
#include "framework/TRect.h"

#include <QPalette>
#include <QString>

class TCanvas;

// The palette of the current desktop scheme (button face, shadows, window, selection...).
QPalette ClassicPalette();
// Sets the style, the palette (tooltips too) and the default font of the application.
void ApplyClassicStyle();

// Draws `width` one-pixel rings just inside r, each with its top and left edges in topLeft and
// its right and bottom edges in bottomRight (which therefore owns the top-right and bottom-left
// corners), and shrinks r by the rings drawn.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width);

// Draws a control's text with TCanvas::DrawText in `color`; disabled text is embossed instead:
// a highlight copy one pixel down and right under a shadow copy.
void DrawControlText(TCanvas& canvas, const QString& text, const TRect& r, unsigned flags,
                     bool enabled, TColor color);
