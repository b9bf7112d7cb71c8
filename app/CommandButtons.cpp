// The quit and help buttons of the right panel.
#include "app/TForm1.h"
#include "framework/TApplication.h"
#include "platform/desktop/help.h"

void TForm1::TransparentButton1Click(QObject*) {
    Close();
}

void TForm1::TransparentButton6Click(QObject*) {
    const QString file = Application()->HelpFile();
    if (!win32::WinHelp(this, file, win32::HELP_CONTENTS, 0))
        return;
    const QString macro =
        QStringLiteral("JumpID(\"\",\"%1\")").arg(QStringLiteral("IDH_1")).left(255);
    win32::WinHelp(this, file, win32::HELP_COMMAND, macro);
}
