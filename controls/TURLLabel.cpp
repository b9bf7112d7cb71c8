#include "controls/TURLLabel.h"

#include "platform/desktop/shell.h"

const QString TURLLabel::DefaultURL = QStringLiteral("https://www.example.com/");

TURLLabel::TURLLabel(QWidget* parent) : TLabel(parent), url_(DefaultURL) {
    Font().SetColor(clBlue);
    Font().SetStyle(static_cast<int>(TFontStyle::fsUnderline));
    SetCaption(QStringLiteral("Click me!"));
}

void TURLLabel::MouseDown(TMouseButton button, int shift, int x, int y) {
    clicking_ = true;
    Font().SetColor(colorClick_);
    TLabel::MouseDown(button, shift, x, y);
}

void TURLLabel::MouseUp(TMouseButton button, int shift, int x, int y) {
    // The right and bottom edges count as inside.
    if (x < 0 || y < 0 || y > Height() || x > Width()) {
        Font().SetColor(colorNormal_);
    } else {
        if (clicking_)
            Open();
        Font().SetColor(colorMoveOver_);
    }
    clicking_ = false;
    TLabel::MouseUp(button, shift, x, y);
}

void TURLLabel::Open() {
    // Whether the desktop could open it is not reported; the label carries on as after a
    // successful open.
    win32::ShellExecute(window(), QStringLiteral("open"), url_.isEmpty() ? Caption() : url_,
                        QString(), QString(), win32::SW_SHOW);
}

void TURLLabel::MouseEnter() {
    Font().SetColor(clicking_ ? colorClick_ : colorMoveOver_);
}

void TURLLabel::MouseLeave() {
    Font().SetColor(colorNormal_);
}
