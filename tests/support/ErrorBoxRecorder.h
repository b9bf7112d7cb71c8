#pragma once
// Records what the application's error box would show while it exists, instead of showing it:
// the test checks the captions and texts afterwards. Restores the previous hook when destroyed.

#include "framework/TApplication.h"

#include <QStringList>

class ErrorBoxRecorder {
public:
    ErrorBoxRecorder();
    ~ErrorBoxRecorder();
    ErrorBoxRecorder(const ErrorBoxRecorder&) = delete;
    ErrorBoxRecorder& operator=(const ErrorBoxRecorder&) = delete;

    const QStringList& Captions() const { return captions_; }
    const QStringList& Texts() const { return texts_; }

private:
    QStringList captions_;
    QStringList texts_;
    TApplication::TErrorBoxHook previous_;
};
