#include "dialogs/InputBox.h"

#include "framework/TButton.h"
#include "framework/TEdit.h"
#include "framework/TForm.h"
#include "framework/TLabel.h"
#include "tests/support/DialogAnswerer.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Action = DialogAnswerer::Action;

const QString kCaption = QStringLiteral("Změna jména souboru");
const QString kPrompt = QStringLiteral("Zadejte nové jméno ...");

TEdit* Edit(QWidget* modal) {
    return modal->findChild<TEdit*>();
}

Action EditThen(std::function<void(TEdit*)> edit, Action then) {
    return [edit, then](QWidget* modal) {
        edit(Edit(modal));
        then(modal);
    };
}

TEST(InputBox, IsLaidOutInDialogUnitsOfTheDialogFont) {
    QSize client;
    QString caption;
    QRect label;
    QRect edit;
    QList<QRect> buttons;
    QStringList captions;
    DialogAnswerer answer([&](QWidget* modal) {
        client = modal->size();
        caption = modal->windowTitle();
        label = modal->findChild<TLabel*>()->geometry();
        edit = Edit(modal)->geometry();
        for (const TButton* button : modal->findChildren<TButton*>()) {
            buttons.append(button->geometry());
            captions.append(button->Caption());
        }
        modal->close();
    });
    PromptText(kCaption, kPrompt, "ding.wav");
    EXPECT_EQ(caption, kCaption);
    EXPECT_EQ(client, QSize(270, 102));
    EXPECT_EQ(label.topLeft(), QPoint(12, 13));
    EXPECT_EQ(label.height(), 13);
    EXPECT_EQ(edit.left(), 12);
    EXPECT_EQ(edit.top(), 31);
    EXPECT_EQ(edit.width(), 246);
    EXPECT_EQ(buttons, QList<QRect>({QRect(57, 67, 75, 23), QRect(138, 67, 75, 23)}));
    EXPECT_EQ(captions, QStringList({"OK", "Cancel"}));
}

TEST(InputBox, OpensWithTheWholeTextSelectedInTheFocusedEdit) {
    bool focused = false;
    QString selected;
    int maxLength = 0;
    DialogAnswerer answer([&](QWidget* modal) {
        focused = modal->focusWidget() == Edit(modal);
        selected = Edit(modal)->SelText();
        maxLength = Edit(modal)->maxLength();
        modal->close();
    });
    PromptText(kCaption, kPrompt, "ding.wav");
    EXPECT_TRUE(focused);
    EXPECT_EQ(selected, "ding.wav");
    EXPECT_EQ(maxLength, 255);
}

TEST(InputBox, ResultsFollowHowTheBoxWasClosed) {
    const auto type = [](const QString& text) {
        return [text](TEdit* edit) { QTest::keyClicks(edit, text); };
    };
    const struct {
        const char* label;
        Action action;
        const char* text;
        bool accepted;
    } cases[] = {
        {"Enter at once", DialogAnswerer::PressKey(Qt::Key_Return), "ding.wav", true},
        {"typing replaces", EditThen(type("novy"), DialogAnswerer::PressKey(Qt::Key_Return)),
         "novy", true},
        {"OK button", EditThen(type("x"), DialogAnswerer::PressButton("OK")), "x", true},
        {"emptied", EditThen([](TEdit* e) { e->clear(); }, DialogAnswerer::PressButton("OK")), "",
         true},
        {"Cancel", EditThen(type("novy"), DialogAnswerer::PressButton("Cancel")), "ding.wav",
         false},
        {"Escape", EditThen(type("novy"), DialogAnswerer::PressKey(Qt::Key_Escape)), "ding.wav",
         false},
        {"close box", EditThen(type("novy"), DialogAnswerer::CloseWindow()), "ding.wav", false},
        {"Tab to Cancel, Enter",
         EditThen(type("novy"),
                  [](QWidget* modal) {
                      QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
                      QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
                      DialogAnswerer::PressKey(Qt::Key_Return)(modal);
                  }),
         "ding.wav", false},
    };
    for (const auto& c : cases) {
        {
            DialogAnswerer answer(c.action);
            EXPECT_EQ(PromptText(kCaption, kPrompt, "ding.wav"), c.text) << c.label;
        }
        DialogAnswerer answer(c.action);
        QString value = "ding.wav";
        EXPECT_EQ(QueryText(kCaption, kPrompt, value), c.accepted) << c.label;
        EXPECT_EQ(value, c.text) << c.label;
    }
}

TEST(InputBox, TypingStopsAt255Characters) {
    QString typed;
    DialogAnswerer answer([&](QWidget* modal) {
        QTest::keyClicks(Edit(modal), QString(300, u'a'));
        typed = Edit(modal)->Text();
        DialogAnswerer::PressKey(Qt::Key_Return)(modal);
    });
    EXPECT_EQ(PromptText(kCaption, kPrompt, "ding.wav"), QString(255, u'a'));
    EXPECT_EQ(typed.size(), 255);
}

TEST(InputBox, LongPromptRunsPastTheRightEdgeOnOneLine) {
    const QString prompt = QString(80, u'W');
    QRect label;
    DialogAnswerer answer([&](QWidget* modal) {
        label = modal->findChild<TLabel*>()->geometry();
        modal->close();
    });
    PromptText(kCaption, prompt, "");
    EXPECT_GT(label.right(), 270);
    EXPECT_EQ(label.height(), 13);
}

} // namespace
