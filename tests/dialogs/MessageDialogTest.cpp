#include "dialogs/MessageDialog.h"

#include "dialogs/TMessageForm.h"
#include "framework/TApplication.h"
#include "framework/TButton.h"
#include "framework/TImage.h"
#include "framework/TLabel.h"
#include "tests/support/DialogAnswerer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

using Action = DialogAnswerer::Action;

// Pins the message-box font to the dialog font, whose dialog units are 6 x 13.
class MessageDialogTest : public ::testing::Test {
protected:
    void SetUp() override { QApplication::setFont(TFont().ToQFont(), "QMessageBox"); }
    void TearDown() override { QApplication::setFont(saved, "QMessageBox"); }

    static int TextWidth(const QString& shown) {
        return QFontMetrics(TFont().ToQFont()).horizontalAdvance(shown);
    }
    static int HalfScreen() { return QGuiApplication::primaryScreen()->geometry().width() / 2; }

    QFont saved = QApplication::font("QMessageBox");
};

QList<TButton*> Buttons(const TForm& form) {
    QList<TButton*> buttons;
    for (QObject* component : form.Components()) {
        if (auto* button = qobject_cast<TButton*>(component))
            buttons.append(button);
    }
    return buttons;
}

TLabel* Message(const TForm& form) {
    return form.findChild<TLabel*>(QStringLiteral("Message"));
}

TEST_F(MessageDialogTest, LaysOutIconTextAndButtonRowInDialogUnits) {
    struct Case {
        QString text;
        DialogType type;
        DialogButtons buttons;
        int buttonCount;
    };
    const Case cases[] = {
        {"Opravdu to chcete zabalit ?", mtConfirmation, ButtonSet({mbYes, mbNo}), 2},
        {"V mechanice není médium / disk nepřístupný!", mtError, ButtonSet({mbOK}), 1},
        {"x", mtCustom, ButtonSet({mbOK}), 1},
        {"Nedostatek místa na disku D:", mtWarning, 0, 0},
        {"Tři", mtInformation, ButtonSet({mbAbort, mbRetry, mbIgnore}), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::unique_ptr<TMessageForm> form = BuildMessageDialog(c.text, c.type, c.buttons);
        EXPECT_FALSE(form->isVisible());
        const bool icon = c.type != mtCustom;
        const int textWidth = TextWidth(c.text);
        const int blockWidth = icon ? textWidth + 32 + 15 : textWidth;
        const int blockHeight = icon ? 32 : 13;
        const int rowWidth = c.buttonCount ? c.buttonCount * 75 + (c.buttonCount - 1) * 6 : 0;
        const int clientWidth = qMax(blockWidth, rowWidth) + 24;
        EXPECT_EQ(form->size(), QSize(clientWidth, blockHeight + 23 + 16 + 26));

        auto* image = form->findChild<TImage*>(QStringLiteral("Image"));
        ASSERT_EQ(image != nullptr, icon);
        if (image) {
            EXPECT_EQ(image->geometry(), QRect(12, 13, 32, 32));
            EXPECT_EQ(image->Image().size(), QSize(32, 32));
        }
        ASSERT_NE(Message(*form), nullptr);
        EXPECT_EQ(Message(*form)->geometry(), QRect(icon ? 59 : 12, 13, textWidth, 13));
        EXPECT_EQ(Message(*form)->Caption(), c.text);

        const QList<TButton*> buttons = Buttons(*form);
        ASSERT_EQ(buttons.size(), c.buttonCount);
        int x = (clientWidth - rowWidth) / 2;
        for (const TButton* button : buttons) {
            EXPECT_EQ(button->geometry(), QRect(x, blockHeight + 13 + 16, 75, 23));
            x += 81;
        }
    }
}

TEST_F(MessageDialogTest, CaptionAndIconFollowTheType) {
    TApplication* app = Application();
    ASSERT_NE(app, nullptr);
    const QString title = app->Title();
    app->SetTitle("Zvonkar pro Windows 95");
    const struct {
        DialogType type;
        const char* caption;
    } cases[] = {
        {mtWarning, "Warning"},
        {mtError, "Error"},
        {mtInformation, "Information"},
        {mtConfirmation, "Confirm"},
        {mtCustom, "Zvonkar pro Windows 95"},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TMessageForm> form = BuildMessageDialog("?", c.type, 0);
        EXPECT_EQ(form->Caption(), c.caption);
        EXPECT_EQ(form->BorderStyle(), TForm::bsDialog);
        EXPECT_EQ(form->BorderIcons(), TForm::TBorderIcons(TForm::biSystemMenu));
    }
    app->SetTitle(title);
}

TEST_F(MessageDialogTest, ButtonsComeInBitOrderWithTheirCaptionsAndResults) {
    // "N&o to All" is left to the width cache's test, which must measure it first.
    const std::unique_ptr<TMessageForm> form =
        BuildMessageDialog("?", mtConfirmation, 0x7FF & ~ButtonSet({mbNoToAll}));
    const struct {
        const char* name;
        const char* caption;
        TModalResult result;
    } expected[] = {
        {"Yes", "&Yes", mrYes},
        {"No", "&No", mrNo},
        {"OK", "OK", mrOk},
        {"Cancel", "Cancel", mrCancel},
        {"Abort", "&Abort", mrAbort},
        {"Retry", "&Retry", mrRetry},
        {"Ignore", "&Ignore", mrIgnore},
        {"All", "&All", mrAll},
        {"YesToAll", "Yes to &All", mrYesToAll},
        {"Help", "&Help", mrNone},
    };
    const QList<TButton*> buttons = Buttons(*form);
    ASSERT_EQ(buttons.size(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(buttons[i]->objectName(), expected[i].name);
        EXPECT_EQ(buttons[i]->Caption(), expected[i].caption);
        EXPECT_EQ(buttons[i]->ModalResult(), expected[i].result);
        EXPECT_EQ(buttons[i]->Default(), i == mbOK) << expected[i].name;
        EXPECT_EQ(buttons[i]->Cancel(), i == mbCancel) << expected[i].name;
    }
}

TEST_F(MessageDialogTest, DefaultAndCancelButtonsComeFromTheSet) {
    const struct {
        DialogButtons set;
        const char* defaultButton;
        const char* cancelButton;
    } cases[] = {
        {ButtonSet({mbYes, mbNo}), "Yes", "No"},
        {ButtonSet({mbOK}), "OK", "OK"},
        {ButtonSet({mbOK, mbCancel}), "OK", "Cancel"},
        {ButtonSet({mbYes, mbNo, mbCancel}), "Yes", "Cancel"},
        {ButtonSet({mbAbort, mbRetry, mbIgnore}), "Retry", ""},
        {ButtonSet({mbIgnore}), "", ""},
        {0, "", ""},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TMessageForm> form = BuildMessageDialog("?", mtWarning, c.set);
        QString defaultName;
        QString cancelName;
        for (const TButton* button : Buttons(*form)) {
            if (button->Default())
                defaultName += button->objectName();
            if (button->Cancel())
                cancelName += button->objectName();
        }
        EXPECT_EQ(defaultName, c.defaultButton) << c.set;
        EXPECT_EQ(cancelName, c.cancelButton) << c.set;
    }
}

TEST_F(MessageDialogTest, LongTextWrapsWithinHalfTheScreen) {
    QString text;
    for (int i = 0; i < 120; ++i)
        text += QStringLiteral("slovo%1 ").arg(i);
    text = text.trimmed();
    const std::unique_ptr<TMessageForm> form = BuildMessageDialog(text, mtError, ButtonSet({mbOK}));
    const QRect label = Message(*form)->geometry();
    EXPECT_LE(label.width(), HalfScreen());
    EXPECT_GT(label.width(), HalfScreen() - TextWidth("slovo119 "));
    EXPECT_GT(label.height(), 13);
    EXPECT_EQ(label.height() % 13, 0);
    EXPECT_EQ(form->width(), label.width() + 32 + 15 + 24);
    EXPECT_EQ(form->height(), label.height() + 23 + 16 + 26);
}

TEST_F(MessageDialogTest, PathWiderThanHalfTheScreenWidensTheDialog) {
    const QString path = "Opravdu chcete smazat C:\\" + QString(HalfScreen() / 4, u'x') + ".wav ?";
    const std::unique_ptr<TMessageForm> form =
        BuildMessageDialog(path, mtConfirmation, ButtonSet({mbYes, mbNo}));
    const QRect label = Message(*form)->geometry();
    const int pathWidth = TextWidth("C:\\" + QString(HalfScreen() / 4, u'x') + ".wav");
    EXPECT_GT(pathWidth, HalfScreen());
    EXPECT_EQ(label.width(), pathWidth);
    EXPECT_EQ(label.height(), 3 * 13) << "words before and after the path take lines of their own";
    EXPECT_EQ(form->width(), pathWidth + 32 + 15 + 24);
}

TEST_F(MessageDialogTest, PrefixesAndTabsAreMeasuredAsShown) {
    const struct {
        QString text;
        int width;
    } cases[] = {
        {"Soubor A&B.wav", TextWidth("Soubor AB.wav")},
        {"Soubor A&&B.wav", TextWidth("Soubor A&B.wav")},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TMessageForm> form = BuildMessageDialog(c.text, mtCustom, 0);
        EXPECT_EQ(Message(*form)->width(), c.width) << c.text.toStdString();
        EXPECT_EQ(Message(*form)->Caption(), c.text);
    }
    const std::unique_ptr<TMessageForm> tabbed = BuildMessageDialog("a\tb", mtCustom, 0);
    const int stop = 8 * QFontMetrics(TFont().ToQFont()).averageCharWidth();
    EXPECT_GE(Message(*tabbed)->width(), stop + TextWidth("b"));
}

TEST_F(MessageDialogTest, ButtonWidthsAreMeasuredOncePerProcess) {
    // Only this test shows "N&o to All", so its width is first measured here, in a large font;
    // a later dialog in the small font keeps that width.
    TFont large;
    large.SetHeight(-30);
    QApplication::setFont(large.ToQFont(), "QMessageBox");
    const std::unique_ptr<TMessageForm> first =
        BuildMessageDialog("?", mtConfirmation, ButtonSet({mbNoToAll}));
    const int measured = QFontMetrics(large.ToQFont()).horizontalAdvance("No to All") + 8;

    QApplication::setFont(TFont().ToQFont(), "QMessageBox");
    const std::unique_ptr<TMessageForm> second =
        BuildMessageDialog("?", mtConfirmation, ButtonSet({mbNoToAll, mbOK}));
    const QList<TButton*> buttons = Buttons(*second);
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[1]->objectName(), "NoToAll");
    EXPECT_EQ(buttons[1]->Caption(), "N&o to All");
    EXPECT_EQ(buttons[1]->ModalResult(), mrNoToAll);
    EXPECT_GT(measured, 75);
    EXPECT_EQ(buttons[0]->width(), measured) << "all buttons share the widest width";
    EXPECT_EQ(buttons[1]->width(), measured);
}

struct KeyCase {
    const char* label;
    DialogButtons buttons;
    Action action;
    TModalResult expected;
};

TEST_F(MessageDialogTest, KeysAndTheCloseBoxGiveTheResults) {
    const DialogButtons yesNo = ButtonSet({mbYes, mbNo});
    const DialogButtons ok = ButtonSet({mbOK});
    const KeyCase cases[] = {
        {"Yes+No Enter", yesNo, DialogAnswerer::PressKey(Qt::Key_Return), mrYes},
        {"Yes+No Escape", yesNo, DialogAnswerer::PressKey(Qt::Key_Escape), mrNo},
        {"Yes+No close box", yesNo, DialogAnswerer::CloseWindow(), mrCancel},
        {"Yes+No N", yesNo, DialogAnswerer::PressKey(Qt::Key_N), mrNo},
        {"Yes+No Alt+N", yesNo, DialogAnswerer::PressKey(Qt::Key_N, Qt::AltModifier), mrNo},
        {"Yes+No Y", yesNo, DialogAnswerer::PressKey(Qt::Key_Y), mrYes},
        {"Yes+No click No", yesNo, DialogAnswerer::PressButton("No"), mrNo},
        {"OK Enter", ok, DialogAnswerer::PressKey(Qt::Key_Enter), mrOk},
        {"OK Escape", ok, DialogAnswerer::PressKey(Qt::Key_Escape), mrOk},
        {"OK close box", ok, DialogAnswerer::CloseWindow(), mrCancel},
        {"no buttons close box", 0, DialogAnswerer::CloseWindow(), mrCancel},
        {"application terminated", yesNo, [](QWidget*) { Application()->Terminate(); }, mrCancel},
    };
    for (const KeyCase& c : cases) {
        DialogAnswerer answer(c.action);
        EXPECT_EQ(ShowMessageDialog("Opravdu to chcete zabalit ?", mtConfirmation, c.buttons, 0),
                  c.expected)
            << c.label;
        EXPECT_TRUE(answer.Answered()) << c.label;
        Application()->ResetTerminated();
    }
}

TEST_F(MessageDialogTest, EnterAndEscapeWithModifiersDoNothing) {
    const std::pair<Qt::Key, Qt::KeyboardModifier> keys[] = {
        {Qt::Key_Return, Qt::ShiftModifier},   {Qt::Key_Return, Qt::ControlModifier},
        {Qt::Key_Return, Qt::AltModifier},     {Qt::Key_Escape, Qt::ShiftModifier},
        {Qt::Key_Escape, Qt::ControlModifier}, {Qt::Key_Escape, Qt::AltModifier},
    };
    for (const auto& [key, modifier] : keys) {
        bool stayedOpen = false;
        DialogAnswerer answer([&, key = key, modifier = modifier](QWidget* modal) {
            DialogAnswerer::PressKey(key, modifier)(modal);
            stayedOpen = QApplication::activeModalWidget() == modal;
            modal->close();
        });
        EXPECT_EQ(ShowMessageDialog("?", mtConfirmation, ButtonSet({mbYes, mbNo}), 0), mrCancel);
        EXPECT_TRUE(stayedOpen) << key << " with " << modifier;
    }
}

TEST_F(MessageDialogTest, FirstButtonHasTheFocusAndHelpLeavesTheDialogOpen) {
    QString focused;
    bool stayedOpen = false;
    DialogAnswerer answer([&](QWidget* modal) {
        focused = modal->focusWidget() ? modal->focusWidget()->objectName() : QString();
        auto* help = modal->findChild<TButton*>(QStringLiteral("Help"));
        ASSERT_NE(help, nullptr);
        static_cast<TMessageForm*>(modal)->SetHelpFile("neni.hlp");
        help->click();
        stayedOpen = QApplication::activeModalWidget() == modal;
        modal->close();
    });
    EXPECT_EQ(ShowMessageDialog("?", mtInformation, ButtonSet({mbNo, mbOK, mbHelp}), 7), mrCancel);
    EXPECT_EQ(focused, "No");
    EXPECT_TRUE(stayedOpen);
}

} // namespace
