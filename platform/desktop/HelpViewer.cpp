#include "platform/desktop/HelpViewer.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace win32 {

QPointer<HelpViewer> HelpViewer::instance_;

HelpViewer* HelpViewer::Instance(bool create) {
    if (instance_.isNull() && create) {
        instance_ = new HelpViewer();
    }
    return instance_.data();
}

HelpViewer::HelpViewer() : browser_(new QTextBrowser(this)) {
    // A window of its own that the user closes like any other; it does not keep the program
    // running once the main window has gone.
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(true);
    // Closed from the keyboard too: Esc, or the desktop's close-document key.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
    resize(640, 480);
}

bool HelpViewer::Load(const QString& posixPath) {
    QFile file(posixPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QFileInfo info(posixPath);
    browser_->setSearchPaths({info.absolutePath()});
    browser_->setHtml(QString::fromUtf8(file.readAll()));
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? info.fileName() : title);
    filePath_ = posixPath;
    return true;
}

void HelpViewer::BringUp() {
    show();
    raise();
    activateWindow();
}

void HelpViewer::ShowContents() {
    BringUp();
    browser_->verticalScrollBar()->setValue(0);
}

bool HelpViewer::HasTopic(const QString& topic) const {
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        // An element's id lands on its block's format, or on its first piece of text.
        if (block.charFormat().anchorNames().contains(topic)) {
            return true;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(topic)) {
                return true;
            }
        }
    }
    return false;
}

bool HelpViewer::ShowTopic(const QString& topic) {
    if (!HasTopic(topic)) {
        return false;
    }
    BringUp();
    browser_->scrollToAnchor(topic);
    return true;
}

} // namespace win32
