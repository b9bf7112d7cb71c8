#include "tests/support/ErrorBoxRecorder.h"

ErrorBoxRecorder::ErrorBoxRecorder() {
    previous_ = Application()->SetErrorBoxHook([this](const QString& caption, const QString& text) {
        captions_.append(caption);
        texts_.append(text);
    });
}

ErrorBoxRecorder::~ErrorBoxRecorder() {
    Application()->SetErrorBoxHook(previous_);
}
