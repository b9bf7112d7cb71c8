#pragma once
// Turns the JSON values of a window layout into property values: enumerations and sets by their
// names, colours by name, bitmaps and pictures from the resources, fonts, cursors. Every function
// raises Exception with a short description of what is wrong with the value; the loader adds
// which layout, component and property it was.

#include "framework/TColor.h"
#include "framework/TFont.h"

#include <QJsonValue>
#include <QMetaProperty>
#include <QVariant>

// The value for a Qt property of `object` (its current value is the base of a font).
QVariant LayoutValue(const QObject* object, const QMetaProperty& property, const QJsonValue& value);
// A colour given by name ("clRed", "clBtnFace") or as a number.
TColor LayoutColor(const QJsonValue& value);
// The font `base` with the fields of a JSON object applied: Name, Height, Size, Style (an array
// of fsBold, fsItalic, fsUnderline, fsStrikeOut), Color, Charset (a number or a name such as
// EASTEUROPE_CHARSET).
TFont LayoutFont(TFont base, const QJsonValue& value);
// A cursor by its name (crDefault, crHandPoint, crIBeam, crHourGlass...).
Qt::CursorShape LayoutCursor(const QJsonValue& value);
bool LayoutBool(const QJsonValue& value);
int LayoutInt(const QJsonValue& value);
QString LayoutString(const QJsonValue& value);
