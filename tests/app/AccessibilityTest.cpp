// What assistive technology finds in the main window, through Qt's accessibility interface.
#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/DialogAnswerer.h"

#include <QAccessible>
#include <QTest>

namespace {

class Accessibility : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeSound('C', "zvuky/a:b.wav", 2048);
        StoreLastDir("C:\\zvuky");
        Start();
        QTest::keyClick(form->soubor, Qt::Key_Down);
    }
};

QAccessibleInterface* Of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The entry a list reads as its selected one.
QString Selected(QWidget* list) {
    const QList<QAccessibleInterface*> cells = Of(list)->tableInterface()->selectedCells();
    return cells.size() == 1 ? cells[0]->text(QAccessible::Name) : QString();
}

} // namespace

TEST_F(Accessibility, EveryControlHasANameAndARoleAndTheListsReadTheirSelectedEntry) {
    const std::tuple<QWidget*, QAccessible::Role, QString> controls[] = {
        {form.get(), QAccessible::Window, "Zvonkar pro Windows 95"},
        {form->soubor, QAccessible::List, "Seznam souborů"},
        {form->adresar, QAccessible::List, "Strom složek"},
        // On Linux a combo box is named by its selected entry.
        {form->disk, QAccessible::ComboBox, form->disk->Items().Text(0)},
        {form->Velikost, QAccessible::StaticText, "2 Kb"},
        {form->Panel1, QAccessible::Grouping, "Přehrávání a program"},
        {form->Panel2, QAccessible::Grouping, "Práce s vybraným souborem"},
    };
    for (const auto& [control, role, name] : controls) {
        EXPECT_EQ(Of(control)->role(), role) << name.toStdString();
        EXPECT_EQ(Of(control)->text(QAccessible::Name), name);
    }
    for (TTransparentButton* button :
         {form->TransparentButton1, form->TransparentButton2, form->TransparentButton3,
          form->TransparentButton4, form->TransparentButton5, form->TransparentButton6}) {
        EXPECT_EQ(Of(button)->role(), QAccessible::PushButton);
        EXPECT_EQ(Of(button)->text(QAccessible::Name), button->Hint());
    }
    EXPECT_EQ(Selected(form->soubor), QString::fromUtf8("a\uA789b.wav"));
    EXPECT_EQ(Selected(form->adresar), "zvuky");
}

TEST_F(Accessibility, AGlyphButtonIsPressedThroughItsActionOnlyWhereAClickWould) {
    QAccessibleActionInterface* remove = Of(form->TransparentButton3)->actionInterface();
    const QString press = QAccessibleActionInterface::pressAction();
    EXPECT_EQ(remove->keyBindingsForAction(press), QStringList{"Del"});
    DialogAnswerer no(DialogAnswerer::PressButton("&No"));
    remove->doAction(press);
    EXPECT_TRUE(no.Answered());
    form->adresar->SetDirectory("C:\\");
    EXPECT_TRUE(Of(form->TransparentButton3)->state().disabled);
    DialogAnswerer none(DialogAnswerer::CloseWindow());
    remove->doAction(press);
    EXPECT_EQ(none.AnsweredCount(), 0);
}
