#pragma once
// Opening a document, web address or mail link with the program the desktop associates with
// it, as the Windows shell does: ShellExecute starts `xdg-open` detached, without a shell, and
// returns at once.

#include <QString>
#include <cstdint>

class QWidget;

namespace win32 {

using HINSTANCE = std::intptr_t;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

// Failure results; success is any value above 32.
inline constexpr HINSTANCE SE_ERR_FNF = 2;
inline constexpr HINSTANCE SE_ERR_NOASSOC = 31;

// Opens `file`: an address ("mailto:...", "http://...") is passed on unchanged, a Windows path
// ("C:\a\b.txt", "\\srv\share\x") is translated to its POSIX path first. `verb` is "open" (or
// empty, or "explore" for a folder); `params` must be empty, as xdg-open passes none; `dir`,
// when given, is the Windows path of the folder to start in; `owner` and `show` are accepted
// for the Windows signature and not used. Returns 42 when xdg-open was started, SE_ERR_FNF for
// an empty file, a path that does not translate or no xdg-open, SE_ERR_NOASSOC for another verb
// or parameters.
HINSTANCE ShellExecute(QWidget* owner, const QString& verb, const QString& file,
                       const QString& params, const QString& dir, int show);

} // namespace win32
