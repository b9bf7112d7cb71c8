#include "framework/TApplication.h"

#include "framework/AccessibleControls.h"
#include "framework/ClassicStyle.h"
#include "framework/Exceptions.h"
#include "framework/TForm.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QSessionManager>

namespace {

TApplication* theApplication = nullptr;

QString MessageOf(const std::exception& error) {
    if (const auto* exception = dynamic_cast<const Exception*>(&error))
        return exception->Message();
    return QString::fromLocal8Bit(error.what());
}

} // namespace

TApplication* Application() {
    return theApplication;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    theApplication = this;
    ApplyClassicStyle();
    InstallAccessibleControls();
    // The application ends when its main form closes or Terminate is called, not when Qt
    // finds no visible window (the main form is hidden while the about box is up, for one).
    setQuitOnLastWindowClosed(false);
    connect(this, &QGuiApplication::commitDataRequest, this, &TApplication::CommitData);
}

TApplication::~TApplication() {
    // The forms go before Qt's application object, newest first.
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
        delete it->data();
    theApplication = nullptr;
}

TForm* TApplication::MainForm() const { return mainForm_; }

void TApplication::AdoptForm(TForm* form) {
    forms_.append(form);
    if (!mainForm_)
        mainForm_ = form;
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents();
}

void TApplication::Terminate() {
    terminated_ = true;
    for (QEventLoop* loop : modalLoops_)
        loop->exit();
    if (running_)
        QCoreApplication::exit(0);
}

void TApplication::Run() {
    if (terminated_ || !mainForm_)
        return;
    mainForm_->Show();
    if (terminated_)
        return;
    running_ = true;
    exec();
    running_ = false;
}

QString TApplication::ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void TApplication::HandleException(const std::exception& error) {
    if (dynamic_cast<const EAbort*>(&error))
        return;
    const QString text = ErrorBoxText(MessageOf(error));
    if (errorBoxHook_) {
        errorBoxHook_(title_, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, title_, text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    // Messages carry file names and user input: never let Qt take them for markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool TApplication::CallHandler(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        HandleException(error);
    } catch (...) {
        HandleException(Exception(QStringLiteral("Unknown error")));
    }
    return false;
}

TApplication::TErrorBoxHook TApplication::SetErrorBoxHook(TErrorBoxHook hook) {
    std::swap(hook, errorBoxHook_);
    return hook;
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        HandleException(error);
    } catch (...) {
        HandleException(Exception(QStringLiteral("Unknown error")));
    }
    return true;
}

bool TApplication::QueryEndSession() {
    if (!mainForm_)
        return true;
    const bool canEnd = mainForm_->CloseQuery();
    if (canEnd)
        Terminate();
    return canEnd;
}

void TApplication::CommitData(QSessionManager& manager) {
    // Without leave to interact the question cannot be asked; the session ends regardless.
    if (!manager.allowsInteraction())
        return;
    const bool canEnd = QueryEndSession();
    manager.release();
    if (!canEnd)
        manager.cancel();
}

void TApplication::EnterModalLoop(QEventLoop* loop) {
    modalLoops_.append(loop);
}

void TApplication::LeaveModalLoop(QEventLoop* loop) {
    modalLoops_.removeOne(loop);
}
