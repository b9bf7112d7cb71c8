#include "framework/TApplication.h"

#include "framework/AccessibleControls.h"
#include "framework/ClassicStyle.h"
#include "framework/Exceptions.h"
#include "framework/TForm.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSessionManager>
#include <QTimer>

namespace {

TApplication* theApplication = nullptr;

QString MessageOf(const std::exception& error) {
    if (const auto* exception = dynamic_cast<const Exception*>(&error))
        return exception->Message();
    return QString::fromLocal8Bit(error.what());
}

QString MessageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        return MessageOf(exception);
    } catch (...) {
        return QString();
    }
}

} // namespace

TApplication* Application() {
    return theApplication;
}

bool CallEventHandler(const std::function<void()>& handler) {
    if (TApplication* app = Application())
        return app->CallHandler(handler);
    handler();
    return true;
}

void CallPaintHandler(QObject* painter, const std::function<void()>& paint) {
    if (TApplication* app = Application()) {
        app->CallPainter(painter, paint);
        return;
    }
    try {
        paint();
    } catch (...) {
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    theApplication = this;
    ApplyClassicStyle();
    LoadQtTranslations();
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

TForm* TApplication::MainForm() const {
    return mainForm_;
}

void TApplication::AdoptForm(TForm* form) {
    forms_.append(form);
    if (!mainForm_)
        mainForm_ = form;
}

// Qt's own texts (the file dialog, the standard buttons of its message boxes, the edit menus)
// in the user's language. The program's texts do not go through Qt's translation, so they stay
// exactly as they are.
void TApplication::LoadQtTranslations() {
    if (qtTranslator_.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&qtTranslator_);
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
    // The button is the program's own, not one of Qt's translated ones.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
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

void TApplication::CallPainter(QObject* painter, const std::function<void()>& paint) {
    std::exception_ptr error;
    try {
        paint();
        return;
    } catch (...) {
        error = std::current_exception();
    }
    if (!paintErrorsShown_.contains(painter))
        connect(painter, &QObject::destroyed, this,
                [this, painter] { paintErrorsShown_.remove(painter); });
    QSet<QString>& shown = paintErrorsShown_[painter];
    const QString message = MessageOf(error);
    if (shown.contains(message))
        return;
    shown.insert(message);
    QTimer::singleShot(0, this,
                       [this, error] { CallHandler([error] { std::rethrow_exception(error); }); });
}

TApplication::TErrorBoxHook TApplication::SetErrorBoxHook(TErrorBoxHook hook) {
    std::swap(hook, errorBoxHook_);
    return hook;
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    // The last net: the program's entry points catch their errors themselves, as Qt's code is
    // not written to be unwound through.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ++strayErrors_;
        HandleException(error);
    } catch (...) {
        ++strayErrors_;
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
