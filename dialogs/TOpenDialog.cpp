#include "dialogs/TOpenDialog.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <utility>

using namespace win32;

namespace {

// The record flag of each option, in the options' bit order.
constexpr DWORD kOptionFlags[] = {
    OFN_READONLY,         OFN_OVERWRITEPROMPT,    OFN_HIDEREADONLY,        OFN_NOCHANGEDIR,
    OFN_SHOWHELP,         OFN_NOVALIDATE,         OFN_ALLOWMULTISELECT,    OFN_EXTENSIONDIFFERENT,
    OFN_PATHMUSTEXIST,    OFN_FILEMUSTEXIST,      OFN_CREATEPROMPT,        OFN_SHAREAWARE,
    OFN_NOREADONLYRETURN, OFN_NOTESTFILECREATE,   OFN_NONETWORKBUTTON,     OFN_NOLONGNAMES,
    OFN_EXPLORER,         OFN_NODEREFERENCELINKS, OFN_ENABLEINCLUDENOTIFY, OFN_ENABLESIZING,
};

// The window the dialog belongs to: the form owning the component, else the active window.
QWidget* OwnerWindow(const QObject* component) {
    for (QObject* owner = component->parent(); owner; owner = owner->parent()) {
        if (auto* widget = qobject_cast<QWidget*>(owner))
            return widget->window();
    }
    return QApplication::activeWindow();
}

// The monitor that shows the application's main window.
const QScreen* MainWindowScreen(const QObject* component) {
    const TApplication* app = Application();
    const QWidget* main = app && app->MainForm() ? app->MainForm() : OwnerWindow(component);
    return main ? main->screen() : QGuiApplication::primaryScreen();
}

void RaiseNotify(const TNotifyEvent& event, QObject* sender) {
    if (event)
        CallEventHandler([&] { event(sender); });
}

} // namespace

TOpenDialog::TOpenDialog(QObject* owner) : TCommonDialog(owner) {}

TOpenDialog::~TOpenDialog() = default;

QString TOpenDialog::FileName() const {
    return openDialog_ ? openDialog_->FilePath() : fileName_;
}

void TOpenDialog::SetInitialDir(const QString& value) {
    QString dir = value;
    if (dir.size() > 1 && dir.endsWith(u'\\') && dir.at(dir.size() - 2) != u':')
        dir.chop(1);
    initialDir_ = dir;
}

DWORD TOpenDialog::OptionFlags(TOpenOptions options) {
    DWORD flags = 0;
    for (int bit = 0; bit < static_cast<int>(std::size(kOptionFlags)); ++bit) {
        if (options.testFlag(static_cast<TOpenOption>(1 << bit)))
            flags |= kOptionFlags[bit];
    }
    return flags;
}

QList<FileFilter> TOpenDialog::ParseFilter(const QString& filter) {
    QList<FileFilter> filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break;
        filters.append({parts[i], parts[i + 1]});
    }
    return filters;
}

OPENFILENAME TOpenDialog::BuildRecord() {
    OPENFILENAME ofn;
    ofn.hwndOwner = OwnerWindow(this);
    ofn.lpstrFilter = ParseFilter(filter_);
    ofn.nFilterIndex = static_cast<DWORD>(qMax(0, filterIndex_));
    currentFilterIndex_ = filterIndex_;
    // The whole name goes in: a long path is neither cut nor refused.
    ofn.lpstrFile = fileName_;
    ofn.lpstrInitialDir = initialDir_;
    ofn.lpstrTitle = title_;
    // The desktop has explorer-style dialogs, so the old-style option turns the flag off.
    ofn.Flags = (OFN_ENABLEHOOK | OptionFlags(options_)) ^ OFN_EXPLORER;
    if (!defaultExt_.isEmpty()) {
        ofn.lpstrDefExt = defaultExt_;
    } else if (options_.testFlag(ofOldStyleDialog)) {
        const QString name = fileName_.mid(fileName_.lastIndexOf(u'\\') + 1);
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot >= 0)
            ofn.lpstrDefExt = name.mid(dot + 1);
    }
    ofn.lpfnHook = [this](FileDialogWindow& dialog, int notification) {
        return Hook(dialog, notification);
    };
    return ofn;
}

bool TOpenDialog::DoExecute(const std::function<bool(OPENFILENAME&)>& call) {
    files_.clear();
    OPENFILENAME ofn = BuildRecord();
    const bool accepted = call(ofn);
    openDialog_ = nullptr;
    if (!accepted)
        return false;
    fileName_ = ofn.lpstrFile;
    files_.append(fileName_);
    options_.setFlag(ofExtensionDifferent, (ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0);
    options_.setFlag(ofReadOnly, (ofn.Flags & OFN_READONLY) != 0);
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool TOpenDialog::Hook(FileDialogWindow& dialog, int notification) {
    openDialog_ = &dialog;
    switch (notification) {
    case CDN_INITDONE:
        PlaceDialog(dialog);
        DoShow();
        break;
    case CDN_SELCHANGE:
        RaiseNotify(OnSelectionChange, this);
        break;
    case CDN_FOLDERCHANGE:
        RaiseNotify(OnFolderChange, this);
        break;
    case CDN_TYPECHANGE:
        currentFilterIndex_ = dialog.FilterIndex();
        RaiseNotify(OnTypeChange, this);
        break;
    case CDN_FILEOK: {
        // A handler that fails refuses the name.
        bool canClose = true;
        if (OnCanClose && !CallEventHandler([&] { OnCanClose(this, canClose); }))
            return false;
        return canClose;
    }
    case WM_DESTROY:
        DoClose();
        openDialog_ = nullptr;
        break;
    default:
        break;
    }
    return true;
}

void TOpenDialog::PlaceDialog(FileDialogWindow& dialog) {
    const QScreen* screen = MainWindowScreen(this);
    if (!screen)
        return;
    const QRect monitor = screen->geometry();
    const QRect frame = dialog.Frame();
    dialog.MoveFrame(monitor.left() + (monitor.width() - frame.width()) / 2,
                     monitor.top() + (monitor.height() - frame.height()) / 3);
}
