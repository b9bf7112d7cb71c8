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
        form->soubor->setFocus();
        QTest::keyClick(form->soubor, Qt::Key_Down);
    }

    static QAccessibleInterface* Of(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }
    // The selected entry of a list, as assistive technology reads it.
    static QString CurrentEntry(QWidget* list) {
        const QList<QAccessibleInterface*> cells = Of(list)->tableInterface()->selectedCells();
        return cells.size() == 1 ? cells[0]->text(QAccessible::Name) : QString();
    }
};

} // namespace

TEST_F(Accessibility, EveryControlHasANameAndARoleAndTheListsReadTheirCurrentEntry) {
    struct Row {
        QWidget* control;
        QAccessible::Role role;
        const char* name;
    };
    const Row rows[] = {
        {form.get(), QAccessible::Window, "Zvonkar pro Windows 95"},
        {form->soubor, QAccessible::List, "Seznam souborů"},
        {form->adresar, QAccessible::List, "Strom složek"},
        {form->Velikost, QAccessible::StaticText, "2 Kb"},
        {form->Panel1, QAccessible::Grouping, "Přehrávání a program"},
        {form->Panel2, QAccessible::Grouping, "Práce s vybraným souborem"},
        {form->TransparentButton2, QAccessible::PushButton, "Zastavir přehrávání"},
        {form->TransparentButton6, QAccessible::PushButton, "Nápověda"},
        {form->TransparentButton1, QAccessible::PushButton, "Ukončení programu"},
        {form->TransparentButton3, QAccessible::PushButton, "Smazat soubor"},
        {form->TransparentButton4, QAccessible::PushButton, "Kopírovat soubor"},
        {form->TransparentButton5, QAccessible::PushButton, "Přejmenovat soubor"},
    };
    for (const Row& row : rows) {
        QAccessibleInterface* control = Of(row.control);
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_EQ(control->role(), row.role) << row.name;
        EXPECT_EQ(control->text(QAccessible::Name), QString::fromUtf8(row.name));
    }
    EXPECT_EQ(CurrentEntry(form->soubor), QString::fromUtf8("a\uA789b.wav"));
    EXPECT_EQ(CurrentEntry(form->adresar), "zvuky");
    // On Linux a combo box is named by its current entry.
    EXPECT_EQ(Of(form->disk)->role(), QAccessible::ComboBox);
    EXPECT_EQ(Of(form->disk)->text(QAccessible::Name), form->disk->Items().Text(0));
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
    EXPECT_FALSE(remove->actionNames().contains(press));
    DialogAnswerer none(DialogAnswerer::CloseWindow());
    remove->doAction(press);
    EXPECT_EQ(none.AnsweredCount(), 0);
}
