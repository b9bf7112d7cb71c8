#pragma once
// The pictures of the transparent glyph button: the gray and the embossed (disabled) version of
// a glyph, and the rings its frames are drawn with (the classic style's, see Frame3D).

#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TColor.h"
#include "framework/TRect.h"

// Turns every pixel into the gray (wr*R + wg*G + wb*B) / (wr + wg + wb). An empty bitmap is left
// alone; weights that do not add up to more than zero raise EInvalidOperation.
void MakeGrayBitmap(TBitmap& bitmap, int redWeight, int greenWeight, int blueWeight);

// Keeps the shape of the picture, every pixel that is neither white nor the top-left colour, and
// embosses it (EmbossBitmap).
void MakeDisabledBitmap(TBitmap& bitmap);

// Replaces the picture by its black pixels drawn in clBtnShadow with a clBtnHighlight edge one
// pixel right and below, on clBtnFace.
void EmbossBitmap(TBitmap& bitmap);

// Draws width one-pixel rings inside r, each with its left and top edges in the top colour and its
// right and bottom edges (and the top-right and bottom-left corners) in the bottom colour, and
// shrinks r by width on every side, also past its middle. Leaves the canvas pen one pixel wide.
void DrawBevel(TCanvas& canvas, TRect& r, TColor top, TColor bottom, unsigned width);
