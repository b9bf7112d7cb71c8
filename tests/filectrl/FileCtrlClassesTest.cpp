#include "filectrl/FileCtrlClasses.h"

#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TForm.h"
#include "framework/TLayoutLoader.h"
#include "tests/support/TempDrives.h"

#include <gtest/gtest.h>

namespace {

class TBrowsingForm : public TForm {
    Q_OBJECT
public:
    using TForm::TForm;
    Q_INVOKABLE void Changed(QObject* sender) { calls.append("change " + sender->objectName()); }
    Q_INVOKABLE void Clicked(QObject* sender) { calls.append("click " + sender->objectName()); }
    Q_INVOKABLE void Pressed(QObject* sender, QChar& key) {
        calls.append(QStringLiteral("key %1 %2").arg(sender->objectName()).arg(key));
    }
    QStringList calls;
};

// The main window's three browsing controls as its layout gives them.
constexpr char kLayout[] = R"({
  "Class": "TBrowsingForm", "Name": "Form",
  "Font": {"Name": "MS Sans Serif", "Height": 10},
  "Components": [
    {"Class": "TFileListBox", "Name": "soubor", "Left": 152, "Top": 7, "Width": 140,
     "Height": 244, "FileType": ["ftReadOnly", "ftArchive", "ftNormal"], "Mask": "*.wav",
     "IntegralHeight": true, "ItemHeight": 16, "TabOrder": 0, "OnClick": "Clicked"},
    {"Class": "TDriveComboBox", "Name": "disk", "Left": 4, "Top": 8, "Width": 141, "Height": 19,
     "TabOrder": 1, "OnChange": "Changed"},
    {"Class": "TDirectoryListBox", "Name": "adresar", "Left": 4, "Top": 32, "Width": 141,
     "Height": 246, "ItemHeight": 16, "TabOrder": 2, "OnChange": "Changed",
     "OnKeyPress": "Pressed"}
  ]})";

} // namespace

TEST(RegisterFileCtrlClasses, MainWindowLayoutMakesTheBrowsingControls) {
    TempDrives drives;
    RegisterFileCtrlClasses();
    TBrowsingForm form;
    TLayoutLoader::LoadFormFromJson(&form, QByteArray(kLayout), QStringLiteral("Test"));

    auto* files = form.Component<TFileListBox>(QStringLiteral("soubor"));
    EXPECT_EQ(files->Mask(), "*.wav");
    EXPECT_EQ(files->FileType(),
              TFileListBox::ftReadOnly | TFileListBox::ftArchive | TFileListBox::ftNormal);
    EXPECT_TRUE(files->IntegralHeight());
    // Loading fits the item heights to the form's font: the file list's to its text cell, the
    // directory list's no lower than its glyphs, the selector's no lower than the floppy's.
    const int cell = FontTextHeight(files->font());
    EXPECT_EQ(files->ItemHeight(), cell);
    auto* directories = form.Component<TDirectoryListBox>(QStringLiteral("adresar"));
    EXPECT_EQ(directories->ItemHeight(), qMax(cell, 16));
    auto* selector = form.Component<TDriveComboBox>(QStringLiteral("disk"));
    EXPECT_EQ(selector->ItemHeight(), qMax(cell, 11));
    EXPECT_EQ(selector->geometry().topLeft(), QPoint(4, 8));

    files->HandleNeeded();
    EXPECT_EQ((files->height() - 4) % files->ItemHeight(), 0);
    files->OnClick(files);
    selector->HandleNeeded();
    QChar enter(13);
    directories->OnKeyPress(directories, enter);
    EXPECT_EQ(form.calls, (QStringList{"click soubor", "change disk", "key adresar \r"}));
}

#include "FileCtrlClassesTest.moc"
