#pragma once
// The application object: one per process, it owns the forms made with CreateForm, runs the
// message loop, and is the one place where an exception leaving an event handler is caught and
// shown in the error box. It also gives the program its classic look (style, palette, font).

#include <QApplication>
#include <QList>
#include <QPointer>
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
    bool terminated_ = false;
    bool running_ = false;
};

// The process's application object; null until one has been made.
TApplication* Application();
