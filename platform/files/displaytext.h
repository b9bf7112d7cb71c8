#pragma once
// Path and name text as the user reads it on screen. Windows text keeps a character that Windows
// names cannot carry, and each byte of a name that is not UTF-8, as a private-use character of
// the name mapping, so that every file stays reachable; drawn as it is, that shows as an empty
// box. Display text draws such a character as a look-alike that the program's font has
// (\ : * ? " < > | as ∖ ꞉ ∗ ʔ ʺ ‹ › ∣, a control character as �) and bytes that are not UTF-8 as
// the user's legacy code page reads them (Windows-1250 for Czech and the other Central European
// languages, Windows-1252 for most others; chosen by the language of the default QLocale).
//
// Display text is for showing only: it cannot be mapped back, so it is never handed to a file
// operation. Text without such characters comes back unchanged.

#include <QString>

namespace win32 {

QString DisplayText(const QString& windowsText);

} // namespace win32
