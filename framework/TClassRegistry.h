#pragma once
// The classes that window layouts may name, each with a factory, and the events of each class
// with a way to connect a form's method to the component's handler member. Every library
// registers its classes explicitly (RegisterStandardClasses, RegisterFileCtrlClasses, ...),
// because self-registering objects in a static library are dropped by the linker.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

class TClassRegistry {
public:
    using TFactory = std::function<QObject*(QWidget* parent, QObject* owner)>;
    // Makes `component`'s event call `handler`, a method of `form`.
    using TBinder =
        std::function<void(QObject* component, QObject* form, const QMetaMethod& handler)>;
    struct TEventBinding {
        QList<QByteArray> ParameterTypes; // as moc writes them: "QObject*", "bool&"
        TBinder Bind;
    };

    static TClassRegistry& Global();

    // Registers T under its class name. Widgets are made with their parent widget, other
    // components with their owner (the form).
    template <class T> void RegisterClass() {
        classes_.insert(QString::fromLatin1(T::staticMetaObject.className()),
                        [](QWidget* parent, QObject* owner) -> QObject* {
                            if constexpr (std::is_base_of_v<QWidget, T>)
                                return new T(parent);
                            else
                                return new T(owner);
                        });
    }

    // Registers an event of T held in a std::function member (declared in T or a base of it):
    // RegisterEvent<TFileListBox>("OnClick", &TFileListBox::OnClick).
    template <class T, class C, class R, class... Args>
    void RegisterEvent(const QString& name, std::function<R(Args...)> C::*member) {
        static_assert(std::is_base_of_v<C, T>, "the event member must belong to the class");
        TEventBinding binding;
        binding.ParameterTypes = {TypeName<Args>()...};
        binding.Bind = [member](QObject* component, QObject* form, const QMetaMethod& handler) {
            T* target = static_cast<T*>(component);
            const QPointer<QObject> receiver(form);
            const int index = handler.methodIndex();
            (target->*member) = [receiver, index](Args... args) -> R {
                if (receiver) {
                    void* argv[] = {nullptr, const_cast<void*>(static_cast<const void*>(
                                                 std::addressof(args)))...};
                    QMetaObject::metacall(receiver, QMetaObject::InvokeMetaMethod, index, argv);
                }
                if constexpr (!std::is_void_v<R>)
                    return R();
            };
        };
        events_.insert({&T::staticMetaObject, name}, std::make_shared<TEventBinding>(binding));
    }

    bool HasClass(const QString& className) const { return classes_.contains(className); }
    // A new component of the class, or null when the class is not registered.
    QObject* Create(const QString& className, QWidget* parent, QObject* owner) const;
    // The event of that name of the class or of its nearest base that has one; null if none.
    const TEventBinding* FindEvent(const QMetaObject* metaObject, const QString& name) const;

    // The name a parameter type has in a method's signature.
    template <class A> static QByteArray TypeName() {
        using Bare = std::remove_cv_t<std::remove_reference_t<A>>;
        QByteArray name = QMetaObject::normalizedType(QMetaType::fromType<Bare>().name());
        if constexpr (std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>)
            name += '&';
        return name;
    }

private:
    using TEventKey = std::pair<const QMetaObject*, QString>;

    QHash<QString, TFactory> classes_;
    QHash<TEventKey, std::shared_ptr<TEventBinding>> events_;
};
