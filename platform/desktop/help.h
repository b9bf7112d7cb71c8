#pragma once
// The help system: WinHelp opens the program's help file, a UTF-8 HTML file, in the help
// viewer and runs help macros on it. A topic is the id of an element of the file.
//
// A bare file name is looked for in the program's folder, then in zvonkar/ under each folder of
// $XDG_DATA_DIRS (/usr/local/share:/usr/share when unset); a Windows or POSIX path is taken as
// it is. When the file is not found or cannot be read the viewer says so in its own message
// box, owned by `owner`, and the call fails. GUI thread only.

#include "platform/core/windef.h"

#include <QString>
#include <optional>

class QWidget;

namespace win32 {

inline constexpr UINT HELP_CONTEXT = 0x0001;
inline constexpr UINT HELP_QUIT = 0x0002;
inline constexpr UINT HELP_CONTENTS = 0x0003;
inline constexpr UINT HELP_COMMAND = 0x0102;

// HELP_CONTENTS shows the file from its top; HELP_QUIT closes the viewer. Other commands fail:
// HELP_COMMAND takes its macro as text, through the overload below.
bool WinHelp(QWidget* owner, const QString& file, UINT command, quintptr data);
// HELP_COMMAND runs the macro `data`: JumpID("file","topic") (or its short form JI), which
// shows the topic of the file, "" meaning `file`. Fails for another macro or a missing topic.
bool WinHelp(QWidget* owner, const QString& file, UINT command, const QString& data);

// The POSIX path of the help file `file`, as WinHelp finds it.
std::optional<QString> FindHelpFile(const QString& file);

} // namespace win32
