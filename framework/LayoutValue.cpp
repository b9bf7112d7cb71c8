#include "framework/LayoutValue.h"

#include "framework/Exceptions.h"
#include "framework/TBitmap.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QStringList>
#include <cmath>

namespace {

QString Describe(const QJsonValue& value) {
    if (value.isString())
        return QStringLiteral("\"%1\"").arg(value.toString());
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isNull())
        return QStringLiteral("null");
    return QString::number(value.toDouble());
}

[[noreturn]] void Fail(const QString& expected, const QJsonValue& value) {
    throw Exception(QStringLiteral("expected %1, found %2").arg(expected, Describe(value)));
}

int EnumValue(const QMetaEnum& enumerator, const QJsonValue& name) {
    if (!name.isString())
        Fail(QStringLiteral("a name of %1").arg(QString::fromLatin1(enumerator.name())), name);
    bool ok = false;
    const int value = enumerator.keyToValue(name.toString().toLatin1().constData(), &ok);
    if (!ok)
        throw Exception(QStringLiteral("%1 is not a value of %2")
                            .arg(Describe(name), QString::fromLatin1(enumerator.name())));
    return value;
}

QVariant EnumVariant(const QMetaProperty& property, const QJsonValue& value) {
    const QMetaEnum enumerator = property.enumerator();
    int bits = 0;
    if (enumerator.isFlag()) {
        if (!value.isArray())
            Fail(QStringLiteral("an array of names of %1")
                     .arg(QString::fromLatin1(enumerator.name())),
                 value);
        for (const QJsonValue& name : value.toArray())
            bits |= EnumValue(enumerator, name);
    } else {
        bits = EnumValue(enumerator, value);
    }
    // Enumerations and sets are int-sized; build the value in the property's own type so that
    // the write needs no conversion.
    if (property.metaType().sizeOf() != sizeof(int))
        throw Exception(QStringLiteral("the enumeration type is not int-sized"));
    return QVariant(property.metaType(), &bits);
}

QImage BitmapResource(const QJsonValue& value) {
    const QJsonValue name = value.toObject().value(QStringLiteral("Bitmap"));
    if (!value.isObject() || !name.isString())
        Fail(QStringLiteral("{\"Bitmap\": NAME}"), value);
    TBitmap bitmap;
    if (!bitmap.LoadFromResourceName(name.toString()))
        throw Exception(QStringLiteral("no bitmap resource %1").arg(name.toString()));
    return bitmap.Image();
}

QByteArray PictureResource(const QJsonValue& value) {
    const QJsonValue path = value.toObject().value(QStringLiteral("Picture"));
    if (!value.isObject() || !path.isString())
        Fail(QStringLiteral("{\"Picture\": PATH}"), value);
    QFile file(QStringLiteral(":/") + path.toString());
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("no picture resource %1").arg(path.toString()));
    return file.readAll();
}

QStringList StringList(const QJsonValue& value) {
    if (!value.isArray())
        Fail(QStringLiteral("an array of texts"), value);
    QStringList list;
    for (const QJsonValue& line : value.toArray())
        list.append(LayoutString(line));
    return list;
}

int Charset(const QJsonValue& value) {
    static const QHash<QString, int> names = {
        {QStringLiteral("ANSI_CHARSET"), 0},         {QStringLiteral("DEFAULT_CHARSET"), 1},
        {QStringLiteral("SYMBOL_CHARSET"), 2},       {QStringLiteral("SHIFTJIS_CHARSET"), 128},
        {QStringLiteral("GREEK_CHARSET"), 161},      {QStringLiteral("TURKISH_CHARSET"), 162},
        {QStringLiteral("BALTIC_CHARSET"), 186},     {QStringLiteral("RUSSIAN_CHARSET"), 204},
        {QStringLiteral("EASTEUROPE_CHARSET"), 238}, {QStringLiteral("OEM_CHARSET"), 255},
    };
    if (value.isString()) {
        const auto found = names.constFind(value.toString());
        if (found == names.constEnd())
            throw Exception(QStringLiteral("%1 is not a character set").arg(Describe(value)));
        return *found;
    }
    return LayoutInt(value);
}

int FontStyle(const QJsonValue& value) {
    static const QHash<QString, TFontStyle> names = {
        {QStringLiteral("fsBold"), TFontStyle::fsBold},
        {QStringLiteral("fsItalic"), TFontStyle::fsItalic},
        {QStringLiteral("fsUnderline"), TFontStyle::fsUnderline},
        {QStringLiteral("fsStrikeOut"), TFontStyle::fsStrikeOut},
    };
    if (!value.isArray())
        Fail(QStringLiteral("an array of font styles"), value);
    int style = 0;
    for (const QJsonValue& name : value.toArray()) {
        const auto found = names.constFind(name.toString());
        if (!name.isString() || found == names.constEnd())
            throw Exception(QStringLiteral("%1 is not a font style").arg(Describe(name)));
        style |= static_cast<int>(*found);
    }
    return style;
}

} // namespace

bool LayoutBool(const QJsonValue& value) {
    if (!value.isBool())
        Fail(QStringLiteral("true or false"), value);
    return value.toBool();
}

int LayoutInt(const QJsonValue& value) {
    const double number = value.toDouble();
    if (!value.isDouble() || std::trunc(number) != number || number < -2147483648.0 ||
        number > 2147483647.0)
        Fail(QStringLiteral("an integer"), value);
    return static_cast<int>(number);
}

QString LayoutString(const QJsonValue& value) {
    if (!value.isString())
        Fail(QStringLiteral("a text"), value);
    return value.toString();
}

TColor LayoutColor(const QJsonValue& value) {
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (std::trunc(number) != number || number < 0 || number > 4294967295.0)
            Fail(QStringLiteral("a colour"), value);
        return static_cast<TColor>(number);
    }
    TColor color = 0;
    if (!value.isString() || !ColorFromName(value.toString(), color))
        Fail(QStringLiteral("a colour"), value);
    return color;
}

TFont LayoutFont(TFont base, const QJsonValue& value) {
    if (!value.isObject())
        Fail(QStringLiteral("a font object"), value);
    base.OnChange = nullptr;
    const QJsonObject font = value.toObject();
    for (auto field = font.begin(); field != font.end(); ++field) {
        const QString& key = field.key();
        if (key == QLatin1String("Name"))
            base.SetName(LayoutString(*field));
        else if (key == QLatin1String("Height"))
            base.SetHeight(LayoutInt(*field));
        else if (key == QLatin1String("Size"))
            base.SetSize(LayoutInt(*field));
        else if (key == QLatin1String("Style"))
            base.SetStyle(FontStyle(*field));
        else if (key == QLatin1String("Color"))
            base.SetColor(LayoutColor(*field));
        else if (key == QLatin1String("Charset"))
            base.SetCharset(Charset(*field));
        else
            throw Exception(QStringLiteral("a font has no field %1").arg(key));
    }
    return base;
}

Qt::CursorShape LayoutCursor(const QJsonValue& value) {
    static const QHash<QString, Qt::CursorShape> names = {
        {QStringLiteral("crDefault"), Qt::ArrowCursor},
        {QStringLiteral("crArrow"), Qt::ArrowCursor},
        {QStringLiteral("crCross"), Qt::CrossCursor},
        {QStringLiteral("crIBeam"), Qt::IBeamCursor},
        {QStringLiteral("crSizeAll"), Qt::SizeAllCursor},
        {QStringLiteral("crSizeNESW"), Qt::SizeBDiagCursor},
        {QStringLiteral("crSizeNS"), Qt::SizeVerCursor},
        {QStringLiteral("crSizeNWSE"), Qt::SizeFDiagCursor},
        {QStringLiteral("crSizeWE"), Qt::SizeHorCursor},
        {QStringLiteral("crUpArrow"), Qt::UpArrowCursor},
        {QStringLiteral("crHourGlass"), Qt::WaitCursor},
        {QStringLiteral("crDrag"), Qt::DragCopyCursor},
        {QStringLiteral("crNoDrop"), Qt::ForbiddenCursor},
        {QStringLiteral("crNo"), Qt::ForbiddenCursor},
        {QStringLiteral("crHSplit"), Qt::SplitHCursor},
        {QStringLiteral("crVSplit"), Qt::SplitVCursor},
        {QStringLiteral("crAppStart"), Qt::BusyCursor},
        {QStringLiteral("crHelp"), Qt::WhatsThisCursor},
        {QStringLiteral("crHandPoint"), Qt::PointingHandCursor},
    };
    const auto found = names.constFind(value.toString());
    if (!value.isString() || found == names.constEnd())
        throw Exception(QStringLiteral("%1 is not a cursor").arg(Describe(value)));
    return *found;
}

QVariant LayoutValue(const QObject* object, const QMetaProperty& property,
                     const QJsonValue& value) {
    if (property.isEnumType())
        return EnumVariant(property, value);
    const QMetaType type = property.metaType();
    if (type == QMetaType::fromType<TFont>())
        return QVariant::fromValue(LayoutFont(property.read(object).value<TFont>(), value));
    switch (type.id()) {
    case QMetaType::Bool:
        return LayoutBool(value);
    case QMetaType::Int:
        return LayoutInt(value);
    case QMetaType::UInt:
        // Unsigned properties are colours (TColor) or counts; both read numbers, colours names.
        return static_cast<uint>(LayoutColor(value));
    case QMetaType::Double:
        if (!value.isDouble())
            Fail(QStringLiteral("a number"), value);
        return value.toDouble();
    case QMetaType::QString:
        return LayoutString(value);
    case QMetaType::QStringList:
        return StringList(value);
    case QMetaType::QImage:
        return BitmapResource(value);
    case QMetaType::QByteArray:
        return PictureResource(value);
    default:
        throw Exception(QStringLiteral("properties of type %1 cannot be set from a layout")
                            .arg(QString::fromLatin1(type.name())));
    }
}
