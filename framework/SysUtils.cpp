#include "framework/SysUtils.h"

#include "framework/Exceptions.h"

QString IntToStr(std::int64_t value) { return QString::number(value); }

int StrToInt(const QString& text) {
    bool ok = false;
    int value = 0;
    QString digits = text;
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    const bool hex = digits.startsWith(u'$');
    if (hex)
        digits.remove(0, 1);
    const bool wellFormed = !digits.isEmpty() && !digits.front().isSpace() &&
                            !digits.back().isSpace() && !digits.startsWith(u'-') &&
                            !digits.startsWith(u'+');
    if (wellFormed) {
        const qlonglong magnitude = digits.toLongLong(&ok, hex ? 16 : 10);
        const qlonglong signedValue = negative ? -magnitude : magnitude;
        ok = ok && signedValue >= INT32_MIN && signedValue <= INT32_MAX;
        value = static_cast<int>(signedValue);
    }
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}
