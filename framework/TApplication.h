#pragma once
// The application object: one per process, it owns the forms made with CreateForm, runs the
// message loop, and is the one place where an exception leaving an event handler is caught and
// shown in the error box. It also gives the program its classic look (style, palette, font).

#include <QApplication>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTranslator>
#include <exception>
#include <functional>

class QEventLoop;
class QSessionManager;
class TForm;

class TApplication : public QApplication {
    Q_OBJECT

public:
    // Receives the error box's caption and text instead of the box being shown.
    using TErrorBoxHook = std::function<void(const QString& caption, const QString& text)>;

    TApplication(int& argc, char** argv);
    ~TApplication() override;

    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    QString HelpFile() const { return helpFile_; }
    void SetHelpFile(const QString& helpFile) { helpFile_ = helpFile; }

    // The first form made by CreateForm; closing it terminates the application.
    TForm* MainForm() const;

    // Makes a form owned by the application (destroyed with it); the first becomes MainForm.
    template <class T> T* CreateForm() {
        T* form = new T();
        AdoptForm(form);
        return form;
    }

    // Runs the messages waiting in the queue and returns.
    void ProcessMessages();
    // Ends Run and every modal loop; a modal form ended so returns 2 (cancel).
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Lets a test that terminated the application go on with the next case.
    void ResetTerminated() { terminated_ = false; }
    // Shows the main form and dispatches messages until Terminate or the main form's close.
    void Run();

    // Shows the error box for an exception (an EAbort shows nothing).
    void HandleException(const std::exception& error);
    // Runs an event handler inside the exception net; false when it raised an exception.
    bool CallHandler(const std::function<void()>& handler);
    // Runs painting code inside the exception net. The error box is modal and cannot open
    // inside a paint, so an exception is shown once the paint is over; and since each box
    // brings another paint, a painter's failure with the same message is shown only once.
    void CallPainter(QObject* painter, const std::function<void()>& paint);
    // Errors that got past every entry point and unwound through Qt's own code before the last
    // net in notify caught them. Each one is a fault of the entry point that let it pass.
    int StrayErrors() const { return strayErrors_; }
    // The error box's text for a message: a "." is appended when the last character sorts
    // after ".".
    static QString ErrorBoxText(const QString& message);
    // Replaces the hook (nullptr shows the real box again); returns the previous one.
    TErrorBoxHook SetErrorBoxHook(TErrorBoxHook hook);

    // Asks the main form whether the desktop session may end; terminates when it may.
    bool QueryEndSession();

    // Bookkeeping of ShowModal's nested loops, so that Terminate can end them.
    void EnterModalLoop(QEventLoop* loop);
    void LeaveModalLoop(QEventLoop* loop);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void AdoptForm(TForm* form);
    void LoadQtTranslations();
    void CommitData(QSessionManager& manager);

    QString title_;
    QString helpFile_;
    QPointer<TForm> mainForm_;
    QList<QPointer<TForm>> forms_;
    QList<QEventLoop*> modalLoops_;
    QTranslator qtTranslator_;
    TErrorBoxHook errorBoxHook_;
    QHash<const QObject*, QSet<QString>> paintErrorsShown_;
    int strayErrors_ = 0;
    bool terminated_ = false;
    bool running_ = false;
};

// The process's application object; null until one has been made.
TApplication* Application();

// Every place where Qt calls into the program (a signal's slot, an event or key handler of a
// control, a timer) runs what it calls through here, so that an exception is shown in the
// application's error box at that place and never unwinds through Qt's own code. False when
// the handler raised one. Without an application object the handler runs unguarded.
bool CallEventHandler(const std::function<void()>& handler);
// The same for painting code (see TApplication::CallPainter); without an application object an
// exception is dropped, as there is nobody to show it to and painting must not fail.
void CallPaintHandler(QObject* painter, const std::function<void()>& paint);
