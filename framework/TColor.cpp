#include "framework/TColor.h"

#include "platform/desktop/syscolors.h"

#include <QHash>
#include <QString>

TColor ColorToRGB(TColor color) {
    if (color & clSystemColor)
        return win32::GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor FromQColor(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}

bool ColorFromName(const QString& name, TColor& color) {
    static const QHash<QString, TColor> names = {
        {"clBlack", clBlack},
        {"clMaroon", clMaroon},
        {"clGreen", clGreen},
        {"clOlive", clOlive},
        {"clNavy", clNavy},
        {"clPurple", clPurple},
        {"clTeal", clTeal},
        {"clGray", clGray},
        {"clSilver", clSilver},
        {"clRed", clRed},
        {"clLime", clLime},
        {"clYellow", clYellow},
        {"clBlue", clBlue},
        {"clFuchsia", clFuchsia},
        {"clAqua", clAqua},
        {"clWhite", clWhite},
        {"clWindow", clWindow},
        {"clWindowText", clWindowText},
        {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText},
        {"clBtnFace", clBtnFace},
        {"clBtnShadow", clBtnShadow},
        {"clGrayText", clGrayText},
        {"clBtnText", clBtnText},
        {"clBtnHighlight", clBtnHighlight},
        {"cl3DDkShadow", cl3DDkShadow},
        {"cl3DLight", cl3DLight},
        {"clInfoText", clInfoText},
        {"clInfoBk", clInfoBk},
    };
    const auto it = names.find(name);
    if (it != names.end()) {
        color = it.value();
        return true;
    }
    bool ok = false;
    const uint value = name.startsWith(u'$') ? name.mid(1).toUInt(&ok, 16) : name.toUInt(&ok, 0);
    if (ok)
        color = value;
    return ok;
}
