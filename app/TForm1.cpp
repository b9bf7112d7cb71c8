#include "app/TForm1.h"

#include "app/SoundHint.h"
#include "app/Zvonkar.h"
#include "controls/ControlsClasses.h"
#include "controls/TTransparentButton.h"
#include "dialogs/DialogsClasses.h"
#include "dialogs/TSaveDialog.h"
#include "filectrl/FileCtrlClasses.h"
#include "filectrl/PathHelpers.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TLayoutLoader.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : TForm(parent) {
    RegisterFileCtrlClasses();
    RegisterControlsClasses();
    RegisterDialogsClasses();
    TLayoutLoader::LoadForm(this, QStringLiteral("Form1"));
    soubor = Component<TFileListBox>(QStringLiteral("soubor"));
    disk = Component<TDriveComboBox>(QStringLiteral("disk"));
    adresar = Component<TDirectoryListBox>(QStringLiteral("adresar"));
    Velikost = Component<TStaticText>(QStringLiteral("Velikost"));
    Panel1 = Component<TPanel>(QStringLiteral("Panel1"));
    TransparentButton2 = Component<TTransparentButton>(QStringLiteral("TransparentButton2"));
    TransparentButton1 = Component<TTransparentButton>(QStringLiteral("TransparentButton1"));
    Panel2 = Component<TPanel>(QStringLiteral("Panel2"));
    TransparentButton3 = Component<TTransparentButton>(QStringLiteral("TransparentButton3"));
    TransparentButton4 = Component<TTransparentButton>(QStringLiteral("TransparentButton4"));
    TransparentButton5 = Component<TTransparentButton>(QStringLiteral("TransparentButton5"));
    SaveDialog1 = Component<TSaveDialog>(QStringLiteral("SaveDialog1"));
    TransparentButton6 = Component<TTransparentButton>(QStringLiteral("TransparentButton6"));
    soubor->OnFileHint = SoundHint;
    if (!Form1)
        Form1 = this;
}

TForm1::~TForm1() {
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate(QObject*) {
    ProgramDir = ProgramFolder();
}

void TForm1::FormShow(QObject*) {
    const QString last =
        ReadRegString(SettingsKey, QStringLiteral("LastDir"), QStringLiteral("C:\\"));
    adresar->SetDirectory(IsExistingDirectory(last) ? last : ProgramDir);
    const QString shown = adresar->Directory();
    disk->SetDrive(shown.isEmpty() ? QChar() : shown.front());
}
