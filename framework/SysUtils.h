#pragma once
// The runtime's text conversions, with the error texts the program shows.

#include <QString>

#include <cstdint>

QString IntToStr(std::int64_t value);
// Parses a signed 32-bit decimal integer (leading and trailing blanks refused, "$" hex accepted);
// raises EConvertError "'%s' is not a valid integer value" otherwise.
int StrToInt(const QString& text);
