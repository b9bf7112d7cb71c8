#include "framework/ClassicStyle.h"

#include "framework/TCanvas.h"
#include "framework/TFont.h"

#include <QApplication>
#include <QStyleFactory>
#include <QToolTip>

QPalette ClassicPalette() {
    const QColor face = ToQColor(clBtnFace);
    const QColor shadow = ToQColor(clBtnShadow);
    const QColor highlight = ToQColor(clBtnHighlight);
    const QColor grayText = ToQColor(clGrayText);
    QPalette palette(face);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        palette.setColor(group, QPalette::Window, face);
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::WindowText, disabled ? grayText : ToQColor(clWindowText));
        palette.setColor(group, QPalette::ButtonText, disabled ? grayText : ToQColor(clBtnText));
        palette.setColor(group, QPalette::Text, disabled ? grayText : ToQColor(clWindowText));
        palette.setColor(group, QPalette::Base, ToQColor(clWindow));
        palette.setColor(group, QPalette::AlternateBase, ToQColor(clWindow));
        palette.setColor(group, QPalette::Light, highlight);
        palette.setColor(group, QPalette::Midlight, ToQColor(cl3DLight));
        palette.setColor(group, QPalette::Mid, shadow);
        palette.setColor(group, QPalette::Dark, shadow);
        palette.setColor(group, QPalette::Shadow, ToQColor(cl3DDkShadow));
        palette.setColor(group, QPalette::BrightText, highlight);
        palette.setColor(group, QPalette::Highlight, ToQColor(clHighlight));
        palette.setColor(group, QPalette::HighlightedText, ToQColor(clHighlightText));
        palette.setColor(group, QPalette::ToolTipBase, ToQColor(clInfoBk));
        palette.setColor(group, QPalette::ToolTipText, ToQColor(clInfoText));
        palette.setColor(group, QPalette::PlaceholderText, grayText);
        palette.setColor(group, QPalette::Link, ToQColor(clBlue));
        palette.setColor(group, QPalette::LinkVisited, ToQColor(clPurple));
    }
    return palette;
}

void ApplyClassicStyle() {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(style);
    const QPalette palette = ClassicPalette();
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
    const QFont font = TFont().ToQFont();
    QApplication::setFont(font);
    QToolTip::setFont(font);
}

void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    QPainter& painter = canvas.Painter();
    const QColor light = ToQColor(topLeft);
    const QColor dark = ToQColor(bottomRight);
    for (int i = 0; i < width && !r.IsEmpty(); ++i) {
        painter.fillRect(r.Left, r.Top, r.Width() - 1, 1, light);
        painter.fillRect(r.Left, r.Top, 1, r.Height() - 1, light);
        painter.fillRect(r.Right - 1, r.Top, 1, r.Height(), dark);
        painter.fillRect(r.Left, r.Bottom - 1, r.Width(), 1, dark);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

void DrawControlText(TCanvas& canvas, const QString& text, const TRect& r, unsigned flags,
                     bool enabled, TColor color) {
    // A change of the canvas font's colour makes the canvas take that font's face again, so the
    // control's Qt font is put back after each colour.
    const QFont font = canvas.QtFont();
    const auto draw = [&](TRect at, TColor in) {
        canvas.Font.SetColor(in);
        canvas.SetQFont(font);
        canvas.DrawText(text, at, flags);
    };
    if (!enabled) {
        TRect lower = r;
        lower.Offset(1, 1);
        draw(lower, clBtnHighlight);
        color = clBtnShadow;
    }
    draw(r, color);
}
