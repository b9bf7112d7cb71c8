#include "tests/support/DialogAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QTest>
#include <gtest/gtest.h>

DialogAnswerer::DialogAnswerer(Action action, std::chrono::milliseconds timeout)
    : DialogAnswerer(QList<Action>{std::move(action)}, timeout) {}

DialogAnswerer::DialogAnswerer(QList<Action> actions, std::chrono::milliseconds timeout)
    : actions_(std::move(actions)), deadline_(std::chrono::steady_clock::now() + timeout) {
    if (QWidget* open = QApplication::activeModalWidget()) {
        busy_ = open;
        open->installEventFilter(this);
    }
    connect(&timer_, &QTimer::timeout, this, &DialogAnswerer::Poll);
    timer_.start(10);
}

DialogAnswerer::~DialogAnswerer() {
    if (busy_)
        busy_->removeEventFilter(this);
}

bool DialogAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == busy_) {
        watched->removeEventFilter(this);
        busy_.clear();
    }
    return false;
}

void DialogAnswerer::Poll() {
    if (Answered()) {
        timer_.stop();
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == busy_ || modal->testAttribute(Qt::WA_DontShowOnScreen)) {
        if (std::chrono::steady_clock::now() > deadline_) {
            timer_.stop();
            ADD_FAILURE() << "No modal window appeared for answer " << next_ + 1;
        }
        return;
    }
    if (busy_)
        busy_->removeEventFilter(this);
    busy_ = modal;
    modal->installEventFilter(this);
    captions_.append(modal->windowTitle());
    const Action action = actions_[next_++];
    action(modal);
}

DialogAnswerer::Action DialogAnswerer::PressButton(const QString& textOrName) {
    return [textOrName](QWidget* modal) {
        for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
            QString text = button->text();
            if (button->objectName() == textOrName || text == textOrName ||
                text.remove(u'&') == textOrName) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "No button \"" << textOrName.toStdString() << "\" in \""
                      << modal->windowTitle().toStdString() << "\"";
        modal->close();
    };
}

DialogAnswerer::Action DialogAnswerer::PressKey(int key, Qt::KeyboardModifiers modifiers) {
    return [key, modifiers](QWidget* modal) {
        QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    };
}

DialogAnswerer::Action DialogAnswerer::CloseWindow() {
    return [](QWidget* modal) { modal->close(); };
}
