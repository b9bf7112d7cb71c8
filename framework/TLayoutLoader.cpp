#include "framework/TLayoutLoader.h"

#include "framework/Exceptions.h"
#include "framework/LayoutValue.h"
#include "framework/StandardClasses.h"
#include "framework/TClassRegistry.h"
#include "framework/TForm.h"
#include "framework/TGraphicControl.h"
#include "framework/TLoadable.h"
#include "framework/WidgetFont.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaMethod>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace {

const QString kClass = QStringLiteral("Class");
const QString kName = QStringLiteral("Name");
const QString kComponents = QStringLiteral("Components");
const QStringList kGeometry = {QStringLiteral("Left"),        QStringLiteral("Top"),
                               QStringLiteral("Width"),       QStringLiteral("Height"),
                               QStringLiteral("ClientWidth"), QStringLiteral("ClientHeight")};
const QStringList kFirst = {QStringLiteral("ParentFont"), QStringLiteral("Font")};

bool IsEventKey(const QString& key) {
    return key.size() > 2 && key.startsWith(QLatin1String("On")) && key.at(2).isUpper();
}

// The keys of a component in the order they are applied; events last.
QStringList OrderedKeys(const QJsonObject& json) {
    QStringList first, middle, geometry, events;
    for (const QString& key : json.keys()) { // QJsonObject keeps its keys sorted
        if (key == kClass || key == kName || key == kComponents)
            continue;
        if (IsEventKey(key))
            events.append(key);
        else if (kFirst.contains(key))
            first.append(key);
        else if (kGeometry.contains(key))
            geometry.append(key);
        else
            middle.append(key);
    }
    std::sort(first.begin(), first.end(), [](const QString& a, const QString& b) {
        return kFirst.indexOf(a) < kFirst.indexOf(b);
    });
    std::sort(geometry.begin(), geometry.end(), [](const QString& a, const QString& b) {
        return kGeometry.indexOf(a) < kGeometry.indexOf(b);
    });
    return first + middle + geometry + events;
}

QByteArray ScopeStripped(QByteArray type) {
    const bool reference = type.endsWith('&');
    if (reference)
        type.chop(1);
    const qsizetype scope = type.lastIndexOf("::");
    if (scope >= 0)
        type = type.mid(scope + 2);
    return reference ? type + '&' : type;
}

bool SameTypes(const QList<QByteArray>& expected, const QList<QByteArray>& actual) {
    if (expected.size() != actual.size())
        return false;
    for (qsizetype i = 0; i < expected.size(); ++i)
        if (ScopeStripped(expected[i]) != ScopeStripped(actual[i]))
            return false;
    return true;
}

// Whether a widget without ShowHint of its own shows its hint: it follows its parent unless
// its layout cleared ParentShowHint.
bool ShowsHint(const QWidget* widget) {
    const QVariant parentShowHint = widget->property("ParentShowHint");
    if (parentShowHint.isValid() && !parentShowHint.toBool())
        return widget->property("ShowHint").toBool();
    const QWidget* parent = widget->parentWidget();
    return parent && parent->property("ShowHint").toBool();
}

class LayoutBuilder {
public:
    LayoutBuilder(TForm* form, QString layoutName) : form_(form), layout_(std::move(layoutName)) {}

    void Build(const QJsonObject& root) {
        const QString formClass = QString::fromLatin1(form_->metaObject()->className());
        const QString name = root.value(kName).toString();
        if (root.contains(kClass) && root.value(kClass).toString() != formClass)
            Fail(name, QStringLiteral("the layout is for %1, not %2")
                           .arg(root.value(kClass).toString(), formClass));
        if (name.isEmpty())
            Fail(formClass, QStringLiteral("the form has no name"));
        form_->setObjectName(name);
        names_.insert(name);
        Apply(form_, name, root);
        MakeChildren(form_, name, root);
        for (QObject* component : created_)
            NotifyLoaded(component);
        NotifyLoaded(form_);
        ShowHints();
        ApplyTabOrder();
        form_->DoCreate();
    }

private:
    [[noreturn]] void Fail(const QString& component, const QString& problem) const {
        throw Exception(
            QStringLiteral("Layout %1, component %2: %3").arg(layout_, component, problem));
    }

    void MakeChildren(QObject* parent, const QString& parentName, const QJsonObject& json) {
        if (!json.contains(kComponents))
            return;
        const QJsonValue children = json.value(kComponents);
        if (!children.isArray())
            Fail(parentName, QStringLiteral("Components must be an array"));
        auto* parentWidget = qobject_cast<QWidget*>(parent);
        for (const QJsonValue& child : children.toArray()) {
            const QJsonObject object = child.toObject();
            const QString name = object.value(kName).toString();
            const QString className = object.value(kClass).toString();
            if (!child.isObject() || name.isEmpty())
                Fail(parentName, QStringLiteral("a component without a name"));
            if (names_.contains(name))
                Fail(name, QStringLiteral("the name is used twice"));
            if (!parentWidget)
                Fail(name, QStringLiteral("its parent %1 is not a control").arg(parentName));
            names_.insert(name);
            QObject* component = TClassRegistry::Global().Create(className, parentWidget, form_);
            if (!component)
                Fail(name, QStringLiteral("unknown class \"%1\"").arg(className));
            component->setObjectName(name);
            form_->InsertComponent(component);
            created_.append(component);
            Apply(component, name, object);
            MakeChildren(component, name, object);
        }
    }

    void Apply(QObject* object, const QString& name, const QJsonObject& json) {
        for (const QString& key : OrderedKeys(json)) {
            try {
                if (IsEventKey(key))
                    BindEvent(object, key, json.value(key));
                else
                    SetProperty(object, key, json.value(key));
            } catch (const Exception& error) {
                Fail(name, QStringLiteral("property %1: %2").arg(key, error.Message()));
            }
        }
    }

    void SetProperty(QObject* object, const QString& key, const QJsonValue& value) {
        const QMetaObject* meta = object->metaObject();
        const int index = meta->indexOfProperty(key.toLatin1().constData());
        if (index >= 0) {
            const QMetaProperty property = meta->property(index);
            if (!property.isWritable())
                throw Exception(QStringLiteral("the property is read-only"));
            if (!property.write(object, LayoutValue(object, property, value)))
                throw Exception(QStringLiteral("the value was refused"));
            return;
        }
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget || !SetCommonProperty(widget, key, value))
            throw Exception(QStringLiteral("%1 has no such property")
                                .arg(QString::fromLatin1(meta->className())));
    }

    bool SetCommonProperty(QWidget* widget, const QString& key, const QJsonValue& value) {
        if (key == QLatin1String("Left"))
            widget->move(LayoutInt(value), widget->y());
        else if (key == QLatin1String("Top"))
            widget->move(widget->x(), LayoutInt(value));
        else if (key == QLatin1String("Width") || key == QLatin1String("ClientWidth"))
            widget->resize(LayoutInt(value), widget->height());
        else if (key == QLatin1String("Height") || key == QLatin1String("ClientHeight"))
            widget->resize(widget->width(), LayoutInt(value));
        else if (key == QLatin1String("Enabled"))
            widget->setEnabled(LayoutBool(value));
        else if (key == QLatin1String("Visible"))
            widget->setVisible(LayoutBool(value));
        else if (key == QLatin1String("Hint"))
            SetHint(widget, LayoutString(value));
        else if (key == QLatin1String("ShowHint"))
            SetShowHint(widget, LayoutBool(value));
        else if (key == QLatin1String("ParentShowHint"))
            widget->setProperty("ParentShowHint", LayoutBool(value));
        else if (key == QLatin1String("Font"))
            SetFont(widget, value);
        else if (key == QLatin1String("ParentFont"))
            LayoutBool(value) ? ResetWidgetFont(widget) : SetWidgetFont(widget, WidgetFont(widget));
        else if (key == QLatin1String("Color"))
            SetBackground(widget, LayoutColor(value));
        else if (key == QLatin1String("TabOrder"))
            widget->setProperty("TabOrder", LayoutInt(value));
        else if (key == QLatin1String("Cursor"))
            widget->setCursor(LayoutCursor(value));
        else
            return false;
        return true;
    }

    // A windowless control keeps a TFont of its own (its colour included); other widgets
    // carry the font in Qt's font and palette.
    static void SetFont(QWidget* widget, const QJsonValue& value) {
        if (auto* graphic = qobject_cast<TGraphicControl*>(widget))
            graphic->Font().Assign(LayoutFont(graphic->Font(), value));
        else
            SetWidgetFont(widget, LayoutFont(WidgetFont(widget), value));
    }

    void SetHint(QWidget* widget, const QString& hint) {
        widget->setProperty("Hint", hint);
        if (!hinted_.contains(widget))
            hinted_.append(widget);
    }

    static void SetShowHint(QWidget* widget, bool show) {
        widget->setProperty("ShowHint", show);
        widget->setProperty("ParentShowHint", false);
    }

    static void SetBackground(QWidget* widget, TColor color) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, ToQColor(color));
        palette.setColor(QPalette::Base, ToQColor(color));
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }

    void BindEvent(QObject* object, const QString& key, const QJsonValue& value) {
        const TClassRegistry::TEventBinding* binding =
            TClassRegistry::Global().FindEvent(object->metaObject(), key);
        if (!binding)
            throw Exception(QStringLiteral("%1 has no such event")
                                .arg(QString::fromLatin1(object->metaObject()->className())));
        const QString handler = LayoutString(value);
        const QMetaObject* meta = form_->metaObject();
        const QByteArray types = binding->ParameterTypes.join(", ");
        for (int i = 0; i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == QMetaMethod::Signal ||
                QString::fromLatin1(method.name()) != handler)
                continue;
            if (!SameTypes(binding->ParameterTypes, method.parameterTypes()))
                throw Exception(
                    QStringLiteral("%1 must take (%2)").arg(handler, QString::fromLatin1(types)));
            binding->Bind(object, form_, method);
            return;
        }
        throw Exception(
            QStringLiteral("%1 has no invokable method %2(%3)")
                .arg(QString::fromLatin1(meta->className()), handler, QString::fromLatin1(types)));
    }

    static void NotifyLoaded(QObject* object) {
        if (auto* loadable = dynamic_cast<TLoadable*>(object))
            loadable->Loaded();
        else if (auto* graphic = dynamic_cast<TGraphicControl*>(object))
            graphic->Loaded();
        else if (object->metaObject()->indexOfMethod("Loaded()") >= 0)
            QMetaObject::invokeMethod(object, "Loaded", Qt::DirectConnection);
    }

    void ShowHints() {
        for (QWidget* widget : hinted_) {
            const QString hint = widget->property("Hint").toString().section(u'|', 0, 0);
            widget->setToolTip(ShowsHint(widget) ? hint : QString());
        }
    }

    // Qt keeps one focus chain per window: walk the components depth first, each parent's
    // children in TabOrder (those without one after them, in creation order).
    void ApplyTabOrder() {
        QList<QWidget*> chain;
        CollectTabChain(form_, chain);
        for (qsizetype i = 1; i < chain.size(); ++i)
            QWidget::setTabOrder(chain[i - 1], chain[i]);
    }

    void CollectTabChain(QWidget* parent, QList<QWidget*>& chain) const {
        QList<QWidget*> children;
        for (QObject* component : created_) {
            auto* widget = qobject_cast<QWidget*>(component);
            if (widget && widget->parentWidget() == parent)
                children.append(widget);
        }
        const auto order = [](const QWidget* widget) {
            bool given = false;
            const int tabOrder = widget->property("TabOrder").toInt(&given);
            return given ? tabOrder : std::numeric_limits<int>::max();
        };
        std::stable_sort(children.begin(), children.end(),
                         [&order](QWidget* a, QWidget* b) { return order(a) < order(b); });
        for (QWidget* child : children) {
            if (child->focusPolicy() & Qt::TabFocus)
                chain.append(child);
            CollectTabChain(child, chain);
        }
    }

    TForm* form_;
    QString layout_;
    QList<QObject*> created_;
    QSet<QString> names_;
    QList<QWidget*> hinted_;
};

} // namespace

void TLayoutLoader::LoadForm(TForm* form, const QString& layoutName) {
    QFile file(QStringLiteral(":/layouts/%1.json").arg(layoutName));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Layout %1: no such resource").arg(layoutName));
    LoadFormFromJson(form, file.readAll(), layoutName);
}

void TLayoutLoader::LoadFormFromJson(TForm* form, const QByteArray& json,
                                     const QString& layoutName) {
    RegisterStandardClasses();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (document.isNull())
        throw Exception(QStringLiteral("Layout %1: %2 at offset %3")
                            .arg(layoutName, error.errorString())
                            .arg(error.offset));
    if (!document.isObject())
        throw Exception(QStringLiteral("Layout %1: the layout must be an object").arg(layoutName));
    LayoutBuilder(form, layoutName).Build(document.object());
}
