#include "framework/WidgetFont.h"

#include <QWidget>

namespace {

constexpr QPalette::ColorRole kTextRoles[] = {QPalette::WindowText, QPalette::Text,
                                              QPalette::ButtonText};

} // namespace

TFont WidgetFont(const QWidget* widget) {
    TFont font;
    font.AssignQFont(widget->font());
    font.SetColor(FromQColor(widget->palette().color(QPalette::WindowText)));
    return font;
}

namespace {

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : kTextRoles) {
        palette.setColor(QPalette::Active, role, color);
        palette.setColor(QPalette::Inactive, role, color);
    }
    widget->setPalette(palette);
}

} // namespace

void SetWidgetFont(QWidget* widget, const TFont& font) {
    QFont qfont = font.ToQFont();
    qfont.setResolveMask(QFont::AllPropertiesResolved);
    widget->setFont(qfont);
    SetTextColor(widget, ToQColor(font.Color()));
}

void ResetWidgetFont(QWidget* widget) {
    // A default QFont resolves nothing of its own, so the parent's font shows through.
    widget->setFont(QFont());
    if (const QWidget* parent = widget->parentWidget())
        SetTextColor(widget, parent->palette().color(QPalette::WindowText));
}
