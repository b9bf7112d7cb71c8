#pragma once
// A Qt widget's font seen as a TFont: face, height and style from the widget's QFont, colour from
// its palette's text roles. Qt passes both on to the children that have not set their own, which
// is what ParentFont means.

#include "framework/TFont.h"

class QWidget;

TFont WidgetFont(const QWidget* widget);
// Sets the widget's own font and text colour (so it no longer follows its parent's).
void SetWidgetFont(QWidget* widget, const TFont& font);
// Makes the widget follow its parent's font and text colour again.
void ResetWidgetFont(QWidget* widget);
