#include "framework/Exceptions.h"
#include "framework/TApplication.h"
#include "framework/TButton.h"
#include "framework/TEdit.h"
#include "framework/TForm.h"
#include "framework/TWindowHandle.h"
#include "tests/support/DialogAnswerer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A dialog with an edit field and OK (default), Cancel (cancel) and Retry buttons.
class ButtonDialog : public TForm {
public:
    explicit ButtonDialog(bool withDefault = true, bool withCancel = true) {
        resize(300, 100);
        edit = new TEdit(this);
        ok = AddButton("OK", mrOk, 0);
        cancel = AddButton("Cancel", mrCancel, 80);
        retry = AddButton("&Retry", mrRetry, 160);
        ok->SetDefault(withDefault);
        cancel->SetCancel(withCancel);
    }

    TEdit* edit;
    TButton* ok;
    TButton* cancel;
    TButton* retry;

private:
    TButton* AddButton(const QString& caption, TModalResult result, int left) {
        auto* button = new TButton(this);
        button->setObjectName(QString(caption).remove(u'&'));
        button->SetCaption(caption);
        button->SetModalResult(result);
        button->setGeometry(left, 60, 75, 23);
        return button;
    }
};

// Records the window-creation step of a control in a shared log.
class LoggingHandle : public QWidget, public TWindowHandle {
public:
    LoggingHandle(QWidget* parent, QString name, QStringList& log)
        : QWidget(parent), name_(std::move(name)), log_(log) {}

protected:
    void CreateWnd() override { log_.append(name_); }

private:
    QString name_;
    QStringList& log_;
};

} // namespace

TEST(ShowModal, AButtonWithAModalResultEndsTheFormWithIt) {
    ButtonDialog form;
    bool clicked = false;
    form.retry->OnClick = [&](QObject*) { clicked = form.ModalResult() == mrRetry; };
    DialogAnswerer answer(DialogAnswerer::PressButton("Retry"));
    EXPECT_EQ(form.ShowModal(), mrRetry);
    EXPECT_TRUE(clicked) << "OnClick runs after the button set the form's ModalResult";
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Modal());
}

TEST(ShowModal, TheCloseBoxGivesCancelWhateverButtonsTheFormHas) {
    ButtonDialog form(false, false);
    DialogAnswerer answer(DialogAnswerer::CloseWindow());
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_TRUE(answer.Answered());
}

TEST(ShowModal, SettingModalResultFromCodeEndsIt) {
    TForm form;
    DialogAnswerer answer([&form](QWidget*) { form.SetModalResult(mrYes); });
    EXPECT_EQ(form.ShowModal(), mrYes);
    // The form can be shown modally again.
    DialogAnswerer again([&form](QWidget*) { form.SetModalResult(mrNo); });
    EXPECT_EQ(form.ShowModal(), mrNo);
}

TEST(ShowModal, AVisibleFormCannotBeMadeModal) {
    TForm form;
    form.show();
    EXPECT_THROW(form.ShowModal(), EInvalidOperation);
}

TEST(ShowModal, EnterAndEscapeActOnlyWithoutShiftCtrlOrAlt) {
    enum Focus { OnEdit, OnCancel, OnRetry };
    const struct {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        Focus focus;
        bool withDefault;
        bool withCancel;
        TModalResult expected; // mrNone: the key did nothing
    } cases[] = {
        {"Enter presses the default button", Qt::Key_Return, {}, OnEdit, true, true, mrOk},
        {"keypad Enter too", Qt::Key_Enter, Qt::KeypadModifier, OnEdit, true, true, mrOk},
        {"Enter presses the focused button", Qt::Key_Return, {}, OnRetry, true, true, mrRetry},
        {"Enter on the focused cancel button", Qt::Key_Return, {}, OnCancel, true, true, mrCancel},
        {"Shift+Enter", Qt::Key_Return, Qt::ShiftModifier, OnEdit, true, true, mrNone},
        {"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier, OnEdit, true, true, mrNone},
        {"Alt+Enter", Qt::Key_Return, Qt::AltModifier, OnEdit, true, true, mrNone},
        {"Shift+Enter on a focused button", Qt::Key_Return, Qt::ShiftModifier, OnRetry, true, true,
         mrNone},
        {"Enter without a default button", Qt::Key_Return, {}, OnEdit, false, true, mrNone},
        {"Escape presses the cancel button", Qt::Key_Escape, {}, OnRetry, true, true, mrCancel},
        {"Shift+Escape", Qt::Key_Escape, Qt::ShiftModifier, OnEdit, true, true, mrNone},
        {"Ctrl+Escape", Qt::Key_Escape, Qt::ControlModifier, OnEdit, true, true, mrNone},
        {"Escape without a cancel button", Qt::Key_Escape, {}, OnEdit, true, false, mrNone},
        {"an accelerator letter", Qt::Key_R, {}, OnCancel, true, true, mrRetry},
        {"a letter typed into the edit field", Qt::Key_R, {}, OnEdit, true, true, mrNone},
    };
    for (const auto& c : cases) {
        ButtonDialog form(c.withDefault, c.withCancel);
        TModalResult afterKey = -1;
        DialogAnswerer answer([&](QWidget*) {
            QWidget* focus = c.focus == OnEdit    ? static_cast<QWidget*>(form.edit)
                             : c.focus == OnRetry ? static_cast<QWidget*>(form.retry)
                                                  : static_cast<QWidget*>(form.cancel);
            focus->setFocus();
            QTest::keyClick(focus, static_cast<Qt::Key>(c.key), c.modifiers);
            afterKey = form.ModalResult();
            // Whatever the key did, end the form so that the next case can run.
            if (afterKey == mrNone)
                form.SetModalResult(mrAbort);
        });
        const TModalResult result = form.ShowModal();
        EXPECT_EQ(afterKey, c.expected) << c.name;
        EXPECT_EQ(result, c.expected == mrNone ? mrAbort : c.expected) << c.name;
    }
}

TEST(ShowModal, AFormWithoutDefaultOrCancelButtonIgnoresEnterAndEscape) {
    TForm form;
    form.resize(100, 100);
    TModalResult afterKeys = -1;
    DialogAnswerer answer([&](QWidget* modal) {
        QTest::keyClick(modal, Qt::Key_Return);
        QTest::keyClick(modal, Qt::Key_Escape);
        afterKeys = form.ModalResult();
        modal->close();
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(afterKeys, mrNone);
}

TEST(CloseQuery, IsAskedForEveryCloseAndCanRefuseIt) {
    TForm form;
    int asked = 0;
    bool allow = false;
    QStringList closes;
    form.OnCloseQuery = [&](QObject* sender, bool& canClose) {
        EXPECT_EQ(sender, &form);
        ++asked;
        canClose = allow;
    };
    form.OnClose = [&](QObject*, TForm::TCloseAction&) { closes.append("closed"); };
    form.show();
    form.Close();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(closes.isEmpty());
    allow = true;
    form.Close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(closes, QStringList("closed"));
}

TEST(CloseQuery, OnCloseWithCaNoneKeepsTheFormOpen) {
    TForm form;
    form.OnClose = [](QObject*, TForm::TCloseAction& action) { action = TForm::caNone; };
    form.show();
    form.Close();
    EXPECT_TRUE(form.isVisible());
}

TEST(CloseQuery, ARefusalKeepsAModalFormOpenUntilAFurtherCloseIsAllowed) {
    ButtonDialog form;
    int asked = 0;
    form.OnCloseQuery = [&](QObject*, bool& canClose) { canClose = ++asked > 1; };
    bool openAfterRefusal = false;
    TModalResult resultAfterRefusal = -1;
    DialogAnswerer answer([&](QWidget* modal) {
        modal->close();
        QTimer::singleShot(50, &form, [&] {
            openAfterRefusal = form.isVisible();
            resultAfterRefusal = form.ModalResult();
            form.ok->click();
        });
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(resultAfterRefusal, mrNone);
}

TEST(CloseQuery, AnErrorInTheQueryRefusesTheClose) {
    TForm form;
    const TApplication::TErrorBoxHook previous =
        Application()->SetErrorBoxHook([](const QString&, const QString&) {});
    form.OnCloseQuery = [](QObject*, bool&) { throw Exception("no"); };
    form.show();
    form.Close();
    Application()->SetErrorBoxHook(previous);
    EXPECT_TRUE(form.isVisible());
}

TEST(OnShow, ComesAfterTheControlsGotTheirWindowsInCreationOrder) {
    QStringList log;
    TForm form;
    auto* panel = new QWidget(&form);
    // Inserted in creation order: a control inside the panel first, then one on the form.
    auto* first = new LoggingHandle(panel, "inner", log);
    auto* second = new LoggingHandle(&form, "outer", log);
    form.InsertComponent(first);
    form.InsertComponent(second);
    // Made by code without being inserted: after the inserted ones.
    new LoggingHandle(&form, "code-made", log);
    form.OnShow = [&log](QObject*) { log.append("OnShow"); };
    form.show();
    form.hide();
    form.show();
    EXPECT_EQ(log, QStringList({"inner", "outer", "code-made", "OnShow", "OnShow"}));
}

TEST(OnShow, AnErrorInItIsShownAndTheFormStillComesUp) {
    TForm form;
    QStringList texts;
    const TApplication::TErrorBoxHook previous = Application()->SetErrorBoxHook(
        [&texts](const QString&, const QString& text) { texts.append(text); });
    form.OnShow = [](QObject*) { throw Exception("Invalid data type for 'LastDir'"); };
    form.Show();
    Application()->SetErrorBoxHook(previous);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(texts, QStringList("Invalid data type for 'LastDir'"));
}

TEST(Position, ScreenCenterCentresTheFormOnItsScreen) {
    TForm form;
    form.resize(296, 343);
    form.SetPosition(TForm::poScreenCenter);
    form.show();
    const QRect screen = form.screen()->geometry();
    const QRect frame = form.frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + screen.width() / 2 - frame.width() / 2);
    EXPECT_EQ(frame.top(), screen.top() + screen.height() / 2 - frame.height() / 2);
}

TEST(BorderStyle, ADialogFormHasAFixedSizeAndOnlyTheCloseBox) {
    TForm form;
    form.SetBorderStyle(TForm::bsDialog);
    form.SetBorderIcons(TForm::biSystemMenu | TForm::biMinimize | TForm::biMaximize);
    form.SetClientWidth(296);
    form.SetClientHeight(343);
    form.show();
    EXPECT_EQ(form.minimumSize(), QSize(296, 343));
    EXPECT_EQ(form.maximumSize(), QSize(296, 343));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    form.SetClientWidth(200);
    EXPECT_EQ(form.width(), 200);
}

TEST(FindComponent, FindsInsertedComponentsAndChildrenByName) {
    TForm form;
    auto* inserted = new TButton(&form);
    inserted->setObjectName("OK");
    form.InsertComponent(inserted);
    auto* child = new TEdit(&form);
    child->setObjectName("Edit");
    EXPECT_EQ(form.FindComponent("OK"), inserted);
    EXPECT_EQ(form.FindComponent("Edit"), child);
    EXPECT_EQ(form.FindComponent("None"), nullptr);
    EXPECT_EQ(form.Component<TEdit>("Edit"), child);
    EXPECT_THROW(form.Component<TButton>("Edit"), EInvalidOperation);
    EXPECT_EQ(form.ComponentCount(), 1);
}
