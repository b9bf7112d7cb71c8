#include "framework/TControlShortCut.h"

#include "framework/TApplication.h"
#include "framework/TGraphicControl.h"

#include <QKeySequence>
#include <QShortcut>

QString TControlShortCut::Keys() const {
    QList<QKeySequence> keys;
    for (const QShortcut* shortcut : shortcuts_)
        keys << shortcut->key();
    return QKeySequence::listToString(keys, QKeySequence::PortableText);
}

void TControlShortCut::SetKeys(const QString& keys) {
    qDeleteAll(shortcuts_);
    shortcuts_.clear();
    for (const QKeySequence& key : QKeySequence::listFromString(keys, QKeySequence::PortableText)) {
        if (key.isEmpty())
            continue;
        // Qt matches a window's shortcut only while its owner is enabled, shown and in the
        // active window, which is the rule of a click.
        auto* shortcut = new QShortcut(key, control_);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(false);
        QObject::connect(shortcut, &QShortcut::activated, control_, [this] { Press(); });
        shortcuts_ << shortcut;
    }
}

void TControlShortCut::Press() {
    if (!control_->isEnabled() || !control_->isVisible())
        return;
    CallEventHandler([this] { control_->Click(); });
}
