#include "app/Program.h"

#include "about/TAboutBox.h"
#include "app/TForm1.h"
#include "app/Zvonkar.h"
#include "framework/TApplication.h"
#include "platform/desktop/help.h"

#include <QIcon>

int RunProgram(TApplication& application) {
    application.SetTitle(QStringLiteral("Zvonkar pro Windows 95"));
    application.SetHelpFile(QStringLiteral("zvonkar.hlp"));
    application.setWindowIcon(QIcon(QStringLiteral(":/bitmaps/ZVONKAR.xpm")));
    EnsureCurrentDirectoryOnDrive();
    application.CreateForm<TForm1>();
    application.CreateForm<TAboutBox>();
    application.Run();
    win32::WinHelp(nullptr, application.HelpFile(), win32::HELP_QUIT, 0);
    return 0;
}
