#pragma once
// The code page that programs without Unicode used for a language on the old desktop (its ANSI
// code page). Names on old media were written in it, so it is how their bytes read best.

#include <QLocale>

namespace win32 {

// 1250 for the Central European languages, 1251 Cyrillic, 1253 Greek, 1254 Turkish, 1255 Hebrew,
// 1256 Arabic, 1257 Baltic, 1252 for every other language.
int AnsiCodePageOf(const QLocale& locale);

} // namespace win32
