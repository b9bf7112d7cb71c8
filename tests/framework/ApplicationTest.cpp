#include "framework/Exceptions.h"
#include "framework/TApplication.h"
#include "framework/TButton.h"
#include "framework/TCustomComboBox.h"
#include "framework/TCustomListBox.h"
#include "framework/TForm.h"
#include "framework/TGraphicControl.h"
#include "framework/TPopupMenu.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/ErrorBoxRecorder.h"
#include "tests/support/QtPrinters.h"

#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace {

// Sets the application title for one test.
class TitleScope {
public:
    explicit TitleScope(const QString& title) : previous_(Application()->Title()) {
        Application()->SetTitle(title);
    }
    ~TitleScope() { Application()->SetTitle(previous_); }

private:
    QString previous_;
};

// A list box and a graphic control whose painting fails while `failing` is set.
struct FailingList : TCustomListBox {
    using TCustomListBox::TCustomListBox;
    bool failing = false;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override {
        if (failing)
            throw Exception("list paint");
        TCustomListBox::DrawItem(index, rect, state);
    }
};
struct FailingControl : TGraphicControl {
    using TGraphicControl::TGraphicControl;
    bool failing = false;
    void Paint(TCanvas&) override {
        if (failing)
            throw Exception("control paint");
    }
};

TNotifyEvent Raise(const char* text) {
    return [text](QObject*) { throw Exception(text); };
}

template <class Failing> void PaintFailingTwice(Failing* widget) {
    widget->failing = true;
    widget->repaint();
    widget->repaint();
    widget->failing = false;
}

} // namespace

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"File not found", "File not found."},
        {"x.", "x."},
        {"x!", "x!"},
        {"", ""},
        {"Invalid data type for 'LastDir'", "Invalid data type for 'LastDir'"},
        {"I/O error 21", "I/O error 21."},
        {"disk nepřístupný", "disk nepřístupný."},
        {"range 1-", "range 1-"},
        {"ends in slash/", "ends in slash/."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TApplication::ErrorBoxText(QString::fromUtf8(c.message)),
                  QString::fromUtf8(c.shown))
            << c.message;
}

TEST(HandleException, ShowsTheMessageUnderTheTitleAndStaysSilentForAbort) {
    TitleScope title(QStringLiteral("Zvonkar pro Windows 95"));
    ErrorBoxRecorder boxes;
    Application()->HandleException(EInOutError(2));
    Application()->HandleException(EAbort());
    Application()->HandleException(std::runtime_error("plain failure"));
    EXPECT_EQ(boxes.Texts(), QStringList({"File not found.", "plain failure."}));
    EXPECT_EQ(boxes.Captions(), QStringList({"Zvonkar pro Windows 95", "Zvonkar pro Windows 95"}));
}

TEST(HandleException, TheRealBoxIsModalWithAStopIconAndOneOkButton) {
    TitleScope title(QStringLiteral("Zvonkar pro Windows 95"));
    const TApplication::TErrorBoxHook previous = Application()->SetErrorBoxHook(nullptr);
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    Qt::TextFormat format = Qt::AutoText;
    DialogAnswerer answer([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        format = box->textFormat();
        DialogAnswerer::PressButton("OK")(modal);
    });
    Application()->HandleException(Exception("<b>C:\\ZVUKY\\a&b.wav</b> not found"));
    Application()->SetErrorBoxHook(previous);
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(answer.Captions(), QStringList("Zvonkar pro Windows 95"));
    EXPECT_EQ(text, "<b>C:\\ZVUKY\\a&b.wav</b> not found.");
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
}

TEST(ExceptionNet, AnErrorInAnEventHandlerIsShownAndTheProgramGoesOn) {
    ErrorBoxRecorder boxes;
    auto form = std::make_unique<TForm>();
    auto* button = new TButton(form.get());
    button->resize(75, 23);
    int clicks = 0;
    button->OnClick = [&clicks](QObject*) {
        ++clicks;
        throw EInOutError(5);
    };
    form->show();
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(boxes.Texts(), QStringList({"File access denied.", "File access denied."}));
}

TEST(ExceptionNet, AnErrorLeavingAnyQtDeliveryIsCaughtInNotify) {
    ErrorBoxRecorder boxes;
    const int stray = Application()->StrayErrors();
    bool after = false;
    QTimer::singleShot(0, [] { throw EConvertError("'x' is not a valid integer value"); });
    QTimer::singleShot(0, [&after] { after = true; });
    QTest::qWait(20);
    EXPECT_TRUE(after);
    EXPECT_EQ(boxes.Texts(), QStringList("'x' is not a valid integer value."));
    EXPECT_EQ(Application()->StrayErrors(), stray + 1);
}

// Each kind of place where Qt calls into the program (mouse, key, signal, timer, paint) shows the
// error there, in the error box, and lets nothing unwind through Qt. A paint shows its error
// after the paint, and only once.
TEST(ExceptionNet, EveryKindOfEntryPointShowsItsOwnError) {
    TForm form;
    form.resize(300, 200);
    auto* list = new FailingList(&form);
    list->setGeometry(0, 0, 120, 100);
    list->Items().Add("alpha");
    auto* combo = new TCustomComboBox(&form);
    combo->move(130, 0);
    combo->Items().Add("a:");
    combo->Items().Add("c:");
    auto* control = new FailingControl(&form);
    control->setGeometry(130, 40, 40, 40);
    TPopupMenu menu;
    auto* item = new TMenuItem;
    item->SetCaption("One");
    menu.Items()->Add(item);
    form.show();
    const struct {
        const char* raised;
        std::function<void()> act;
    } cases[] = {
        {"list click",
         [&] {
             list->OnClick = Raise("list click");
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
         }},
        {"list key",
         [&] {
             list->OnKeyPress = [](QObject*, QChar&) { throw Exception("list key"); };
             QTest::keyClick(list, Qt::Key_A);
         }},
        {"combo pick",
         [&] {
             combo->OnChange = Raise("combo pick");
             QTest::keyClick(combo, Qt::Key_Down);
         }},
        {"control click",
         [&] {
             control->OnClick = Raise("control click");
             QTest::mouseClick(control, Qt::LeftButton);
         }},
        {"menu command",
         [&] {
             item->OnClick = Raise("menu command");
             QTimer::singleShot(20, [] {
                 if (auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                     open->setActiveAction(open->actions().at(0));
                     QTest::keyClick(open, Qt::Key_Return);
                 }
             });
             menu.Popup(0, 0);
         }},
        {"list paint", [&] { PaintFailingTwice(list); }},
        {"control paint", [&] { PaintFailingTwice(control); }},
    };
    for (const auto& c : cases) {
        ErrorBoxRecorder boxes;
        const int stray = Application()->StrayErrors();
        c.act();
        QTest::qWait(10);
        EXPECT_EQ(boxes.Texts(), QStringList(QString(c.raised) + '.')) << c.raised;
        EXPECT_EQ(Application()->StrayErrors(), stray) << c.raised;
    }
}

TEST(ExceptionNet, CallHandlerReportsWhetherTheHandlerFinished) {
    ErrorBoxRecorder boxes;
    EXPECT_TRUE(Application()->CallHandler([] {}));
    EXPECT_FALSE(Application()->CallHandler([] { throw EAbort(); }));
    EXPECT_FALSE(Application()->CallHandler([] { throw 42; }));
    EXPECT_EQ(boxes.Texts(), QStringList("Unknown error."));
}

TEST(Terminate, EndsEveryModalLoopWithCancel) {
    auto outer = std::make_unique<TForm>();
    auto inner = std::make_unique<TForm>();
    TModalResult innerResult = mrNone;
    std::unique_ptr<DialogAnswerer> innerAnswer;
    DialogAnswerer answer([&](QWidget*) {
        innerAnswer =
            std::make_unique<DialogAnswerer>([](QWidget*) { Application()->Terminate(); });
        innerResult = inner->ShowModal();
    });
    const TModalResult outerResult = outer->ShowModal();
    const bool terminated = Application()->Terminated();
    // A form shown after termination does not even start its loop.
    const TModalResult late = inner->ShowModal();
    Application()->ResetTerminated();
    EXPECT_TRUE(terminated);
    EXPECT_EQ(innerResult, mrCancel);
    EXPECT_EQ(outerResult, mrCancel);
    EXPECT_EQ(late, mrCancel);
}

TEST(MainForm, ClosingItTerminatesAndEndingTheSessionAsksIt) {
    TForm* main = Application()->MainForm();
    std::unique_ptr<TForm> owned;
    if (!main) {
        main = Application()->CreateForm<TForm>();
        owned.reset(main);
    }
    ASSERT_EQ(Application()->MainForm(), main);
    bool allow = false;
    int queries = 0;
    main->OnCloseQuery = [&](QObject*, bool& canClose) {
        ++queries;
        canClose = allow;
    };
    main->show();
    EXPECT_FALSE(Application()->QueryEndSession());
    main->Close();
    EXPECT_FALSE(Application()->Terminated());
    EXPECT_TRUE(main->isVisible());
    allow = true;
    EXPECT_TRUE(Application()->QueryEndSession());
    EXPECT_TRUE(Application()->Terminated());
    Application()->ResetTerminated();
    main->Close();
    EXPECT_TRUE(Application()->Terminated());
    EXPECT_EQ(queries, 4);
    Application()->ResetTerminated();
    main->OnCloseQuery = nullptr;
}
