#pragma once
// The path helpers of the browsing controls: pieces of Windows path text, the process's current
// directory, splitting what a user typed into drive, directory and file, shortening a path to a
// width, and the glyph rule of the three controls. GUI thread only.
//
// Path text is Windows text: a drive prefix ("C:") or a network prefix ("\\server\share"),
// backslash separators, relative paths counting from the current directory.

#include "framework/TFont.h"

#include <QChar>
#include <QString>

class TBitmap;
class TCanvas;
struct TRect;

// "C:" for "C:\a"; "\\srv\sh" for "\\srv\sh\a"; empty otherwise.
QString DrivePart(const QString& path);
// The text after the last "\" or ":" (all of it when there is neither).
QString LastComponent(const QString& path);
// The text up to and including the last "\" or ":".
QString DirectoryPart(const QString& path);
// From the last "." to the end when that "." follows the last "\" and ":"; else empty.
QString ExtensionOf(const QString& path);
// The drive part followed by "\": "C:\", "\\srv\sh\".
QString RootOf(const QString& path);

// The full current directory: "C:\" for a root, no trailing backslash otherwise.
QString CurrentDirectory();
// Makes `path` current ("X:" goes to drive X's current directory). Raises EInOutError with the
// platform's error code when that fails.
void ChangeDirectory(const QString& path);
// True when the path's attributes can be read and carry the directory bit.
bool IsExistingDirectory(const QString& path);
// The path itself when it is an existing directory, else its nearest ancestor that is, at
// most its root: where a list goes when the folder it shows is taken away.
QString NearestExistingDirectory(const QString& path);
// directory + name, with a "\" between unless the directory ends in one.
QString JoinPath(const QString& directory, const QString& name);
// The number of "\" in the path.
int PathDepth(const QString& path);
// True when the volume holding the full path tells letter case apart in names, and also when
// the volume cannot be asked (so that no two names are ever taken for one).
bool VolumeCaseSensitive(const QString& path);
// Whether two paths are the same text as file names: drive letters always ignore case, the rest
// ignores it only when `caseSensitive` is false.
bool SameFileName(const QString& a, const QString& b, bool caseSensitive);

struct PathEntry {
    QChar Drive;       // the drive letter, or 0 for a network path
    QString Directory; // without the drive part: "\WINDOWS\MEDIA" (a network path keeps its root)
    QString FilePart;  // a file name or a pattern; empty when the text named a directory
};
// Splits typed text into drive, directory and file part, changing into directories to tell a
// directory from a file. "[SUB]" names a subdirectory of the current directory. The current
// directory is always put back (unless it has vanished meanwhile); a directory that cannot be
// entered raises EInOutError.
PathEntry SplitPathEntry(const QString& text);

// The path shortened with "...\" in place of leading directories, and finally without its
// drive, until the canvas's text width of it fits `width`; the bare name is the shortest.
QString ShortenPathToWidth(const QString& path, TCanvas& canvas, int width);
// One shortening step of a directory text: "\A\B\" becomes "\...\B\", "\...\B\" becomes
// "\...\", "...\" and "\" become empty.
QString DropFirstDirectory(const QString& directory);

// Draws a glyph at x, centred vertically in the item rectangle, with every pixel of its
// bottom-left pixel's colour in the canvas's brush colour instead.
void DrawEntryGlyph(TCanvas& canvas, const TRect& rect, const TBitmap& bitmap, int x);
