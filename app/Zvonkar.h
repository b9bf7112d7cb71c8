#pragma once
// The main window's unit: the program's folder and the small routines that do the platform work
// for the main window's handlers (playback, the drive check, the copy, the settings store).

#include <QChar>
#include <QString>

// The folder of the program's executable, Windows text ending in a backslash; empty when the
// folder lies on no drive. Set once by the main window's creation.
extern QString ProgramDir;
// The Windows text of the executable's real folder with a trailing backslash, or empty.
QString ProgramFolder();
// Moves the process to the program's folder (or the first drive's root) when its current
// directory lies on no drive, so that start-up always has a drive to show.
void EnsureCurrentDirectoryOnDrive();
// The settings key of the program under the current user's root.
inline const QString SettingsKey = QStringLiteral("Software\\Krumlak\\Zvonkar\\");

// Starts playing a sound file asynchronously, replacing any sound playing; a file that cannot be
// played plays the default sound.
void PlaySoundFile(const QString& path);
// True when the total size of the drive can be determined; raises EConvertError "Not a valid
// drive letter" for anything but a letter. Lets pending window messages run meanwhile.
bool DriveAccessible(QChar letter);
// Copies a file's content; a symbolic link at the destination gets it in the file it points to.
// Raises EFOpenError, EFCreateError, EReadError or EWriteError; a failed copy leaves the
// destination exactly as it was and no partial file behind.
void CopySoundFile(const QString& source, const QString& destination);
// Whether a file whose size display reads sizeText ("1024 Kb") fits in freeBytes, the space
// free on the destination (-1 when unknown). Compares whole KiB as 64-bit counts; raises
// EConvertError when the size text holds no integer.
bool FitsInFreeSpace(const QString& sizeText, qint64 freeBytes);
// A text value of a settings key, or defaultText when it does not exist or the store cannot be
// read. Raises ERegistryException for a value that is not text, and for a settings file found
// broken (it is kept aside). Never writes the settings file unless the key is missing.
QString ReadRegString(const QString& key, const QString& name, const QString& defaultText);
// Stores a text value (with one NUL appended, as the program has always stored it). Raises
// ERegistryException when the store refuses it, saying what the store found wrong.
void WriteRegString(const QString& key, const QString& name, const QString& text);
