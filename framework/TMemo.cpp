#include "framework/TMemo.h"

#include <QPalette>
#include <QScrollBar>

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    SetScrollBars(ssNone);
    SetCtl3D(true);
    resize(185, 89);
}

QStringList TMemo::Lines() const {
    const QString text = toPlainText();
    if (text.isEmpty())
        return {};
    return text.split(u'\n');
}

void TMemo::SetLines(const QStringList& lines) {
    setPlainText(lines.join(u'\n'));
}

void TMemo::SetScrollBars(TScrollStyle scrollBars) {
    scrollBars_ = scrollBars;
    const bool vertical = scrollBars == ssVertical || scrollBars == ssBoth;
    const bool horizontal = scrollBars == ssHorizontal || scrollBars == ssBoth;
    // The old memo shows a scroll bar it was given even when there is nothing to scroll.
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetCtl3D(bool ctl3D) {
    ctl3D_ = ctl3D;
    if (ctl3D) {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    } else {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    }
}

void TMemo::SetWordWrap(bool wrap) {
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetColor(TColor color) {
    color_ = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Base, ToQColor(color));
    setPalette(colors);
}
