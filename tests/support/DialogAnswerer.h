#pragma once
// The tests' way of answering modal windows. An answerer watches from a timer for a modal
// window (QApplication::activeModalWidget()) and runs an action on it, so that a test can open
// the window synchronously:
//
//     DialogAnswerer answer(DialogAnswerer::PressButton("&No"));
//     EXPECT_EQ(ShowMessageDialog(...), mrNo);
//     EXPECT_TRUE(answer.Answered());
//
// Given several actions, it answers that many modal windows one after the other. A window that
// was already modal when the answerer was made, or that it has just answered, is left alone
// until it has been hidden, and so is a window that is never shown on screen (the stand-in that
// keeps the program modal while the desktop portal's dialog is open). The answerer stops watching
// when it is destroyed; a window that does not appear in time fails the test. (The test main routes
// error boxes to a hook that fails the test; a test that answers a real error box sets the hook to
// nullptr first.)

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>

class DialogAnswerer : public QObject {
public:
    using Action = std::function<void(QWidget* modal)>;

    explicit DialogAnswerer(Action action, std::chrono::milliseconds timeout = kDefaultTimeout);
    explicit DialogAnswerer(QList<Action> actions,
                            std::chrono::milliseconds timeout = kDefaultTimeout);
    ~DialogAnswerer() override;

    // Every action has run.
    bool Answered() const { return next_ == actions_.size(); }
    int AnsweredCount() const { return static_cast<int>(next_); }
    // The window titles of the windows answered, in order.
    const QStringList& Captions() const { return captions_; }

    // Clicks the button whose text ("&" ignored) or object name is textOrName.
    static Action PressButton(const QString& textOrName);
    // Types a key into the window's focused control (or the window).
    static Action PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Closes the window as its close box does.
    static Action CloseWindow();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr std::chrono::milliseconds kDefaultTimeout{5000};

    void Poll();

    QList<Action> actions_;
    qsizetype next_ = 0;
    QStringList captions_;
    QPointer<QWidget> busy_; // answered (or already open) and not yet hidden
    QTimer timer_;
    std::chrono::steady_clock::time_point deadline_;
};
