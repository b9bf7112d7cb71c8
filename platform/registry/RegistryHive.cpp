#include "platform/registry/RegistryHive.h"

#include <algorithm>

namespace win32 {

namespace {

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString RegistryHive::Fold(const QString& path) {
    return path.toCaseFolded();
}

RegistryKey* RegistryHive::Find(const QString& path) {
    const auto it = keys_.find(Fold(path));
    return it == keys_.end() ? nullptr : &it->second;
}

bool RegistryHive::HasKey(const QString& path) const {
    return keys_.count(Fold(path)) != 0;
}

bool RegistryHive::CreateKey(const QString& path) {
    if (HasKey(path)) {
        return false;
    }
    // Parents first, so that every key of the hive is reachable from the root.
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    if (cut > 0) {
        CreateKey(path.left(cut));
    }
    keys_.emplace(Fold(path), RegistryKey{path, {}});
    return true;
}

const RegistryValue* RegistryHive::Value(const QString& path, const QString& name) const {
    const auto it = keys_.find(Fold(path));
    if (it == keys_.end()) {
        return nullptr;
    }
    const auto& values = it->second.values;
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const RegistryValue& v) { return SameName(v.name, name); });
    return found == values.end() ? nullptr : &*found;
}

void RegistryHive::SetValue(const QString& path, const RegistryValue& value) {
    CreateKey(path);
    auto& values = Find(path)->values;
    const auto found = std::find_if(values.begin(), values.end(), [&](const RegistryValue& v) {
        return SameName(v.name, value.name);
    });
    if (found == values.end()) {
        values.push_back(value);
        return;
    }
    found->type = value.type;
    found->data = value.data;
}

bool RegistryHive::DeleteValue(const QString& path, const QString& name) {
    RegistryKey* key = Find(path);
    if (key == nullptr) {
        return false;
    }
    auto& values = key->values;
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const RegistryValue& v) { return SameName(v.name, name); });
    if (found == values.end()) {
        return false;
    }
    values.erase(found);
    return true;
}

std::vector<const RegistryKey*> RegistryHive::Keys() const {
    // Folded paths sort a parent before its children, since a path sorts before its extensions.
    std::vector<const RegistryKey*> result;
    result.reserve(keys_.size());
    for (const auto& [folded, key] : keys_) {
        result.push_back(&key);
    }
    return result;
}

} // namespace win32
