#include "framework/TClassRegistry.h"

TClassRegistry& TClassRegistry::Global() {
    static TClassRegistry registry;
    return registry;
}

QObject* TClassRegistry::Create(const QString& className, QWidget* parent, QObject* owner) const {
    const auto factory = classes_.constFind(className);
    if (factory == classes_.constEnd())
        return nullptr;
    return (*factory)(parent, owner);
}

const TClassRegistry::TEventBinding* TClassRegistry::FindEvent(const QMetaObject* metaObject,
                                                               const QString& name) const {
    for (const QMetaObject* level = metaObject; level; level = level->superClass()) {
        const auto binding = events_.constFind({level, name});
        if (binding != events_.constEnd())
            return binding->get();
    }
    return nullptr;
}
