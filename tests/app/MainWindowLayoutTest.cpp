#include "controls/TTransparentButton.h"
#include "dialogs/TSaveDialog.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "tests/app/MainWindowFixture.h"

namespace {

struct Placement {
    const char* name;
    const char* className;
    const char* parent;
    int left, top, width, height;
    const char* hint;
};

// Positions are relative to the parent's client area; list heights follow their items.
const Placement kLayout[] = {
    {"soubor", "TFileListBox", "Form1", 152, 7, 140, -1, ""},
    {"disk", "TDriveComboBox", "Form1", 4, 8, 141, -1, ""},
    {"adresar", "TDirectoryListBox", "Form1", 4, 32, 141, -1, ""},
    {"Velikost", "TStaticText", "Form1", 152, 256, 140, 20, ""},
    {"Panel1", "TPanel", "Form1", 152, 288, 140, 50, ""},
    {"Panel2", "TPanel", "Form1", 4, 288, 140, 50, ""},
    {"TransparentButton2", "TTransparentButton", "Panel1", 5, 4, 40, 40, "Zastavir přehrávání"},
    {"TransparentButton6", "TTransparentButton", "Panel1", 50, 5, 40, 40, "Nápověda"},
    {"TransparentButton1", "TTransparentButton", "Panel1", 95, 6, 40, 40, "Ukončení programu"},
    {"TransparentButton3", "TTransparentButton", "Panel2", 5, 5, 40, 40, "Smazat soubor"},
    {"TransparentButton4", "TTransparentButton", "Panel2", 50, 5, 40, 40, "Kopírovat soubor"},
    {"TransparentButton5", "TTransparentButton", "Panel2", 95, 5, 40, 40, "Přejmenovat soubor"},
};

} // namespace

using MainWindowLayout = MainWindowFixture;

TEST_F(MainWindowLayout, EveryComponentIsWhereTheWindowWantsIt) {
    Start();
    EXPECT_EQ(form->Caption(), "Zvonkar pro Windows 95");
    EXPECT_EQ(form->ClientWidth(), 296);
    EXPECT_EQ(form->ClientHeight(), 343);
    EXPECT_EQ(form->BorderStyle(), TForm::bsDialog);
    EXPECT_EQ(form->BorderIcons(), TForm::TBorderIcons(TForm::biSystemMenu));
    for (const Placement& p : kLayout) {
        auto* widget = qobject_cast<QWidget*>(form->FindComponent(p.name));
        ASSERT_NE(widget, nullptr) << p.name;
        EXPECT_STREQ(widget->metaObject()->className(), p.className);
        const QString parent = widget->parentWidget() == form.get()
                                   ? QStringLiteral("Form1")
                                   : widget->parentWidget()->objectName();
        EXPECT_EQ(parent, QString::fromUtf8(p.parent)) << p.name;
        EXPECT_EQ(widget->x(), p.left) << p.name;
        EXPECT_EQ(widget->y(), p.top) << p.name;
        EXPECT_EQ(widget->width(), p.width) << p.name;
        if (p.height >= 0) {
            EXPECT_EQ(widget->height(), p.height) << p.name;
        }
        if (auto* button = qobject_cast<TTransparentButton*>(widget)) {
            EXPECT_EQ(button->Hint(), QString::fromUtf8(p.hint)) << p.name;
            EXPECT_TRUE(button->ShowHint()) << p.name;
            EXPECT_EQ(button->FrameStyle(), TTransparentButton::fsExplorer);
            EXPECT_EQ(button->Glyph().Width(), 32) << p.name;
            EXPECT_EQ(button->NumGlyphs(), 1) << p.name;
            EXPECT_TRUE(button->Caption().isEmpty());
        }
    }
    EXPECT_EQ(form->soubor->Mask(), "*.wav");
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    EXPECT_EQ(form->Velikost->Alignment(), TStaticText::taCenter);
    EXPECT_EQ(form->Velikost->BorderStyle(), TStaticText::sbsSunken);
    EXPECT_EQ(form->Panel1->BevelInner(), TPanel::bvLowered);
    EXPECT_EQ(form->Panel2->BevelInner(), TPanel::bvLowered);
    EXPECT_EQ(form->SaveDialog1->DefaultExt(), "*.wav");
    EXPECT_EQ(form->SaveDialog1->Filter(), "Zvukové soubory <WAV>|*.wav|Všechny soubory <*.*>|*.*");
}
