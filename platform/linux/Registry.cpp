// Linux stand-ins for the registry calls: one tree of keys held in the process, under one lock.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace {

// As the registry compares names: code unit by code unit, ignoring case.
struct NameLess {
    bool operator()(const std::wstring& first, const std::wstring& second) const {
        return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                    static_cast<int>(second.size()), TRUE) == CSTR_LESS_THAN;
    }
};

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    // Each subkey under its name as created; a lookup in other letter case finds it.
    std::map<std::wstring, std::shared_ptr<Key>, NameLess> subkeys;
    std::map<std::wstring, Value, NameLess> values;
    // Set once the key is deleted: handles still open to it fail from then on.
    bool deleted = false;
};

struct OpenKey {
    std::shared_ptr<Key> key;
    REGSAM access = 0;
};

std::wstring TextOrEmpty(LPCWSTR text) {
    return text == nullptr ? std::wstring() : std::wstring(text);
}

// The names on a backslash-separated path. As on Windows, a path may not begin with a backslash
// (ERROR_BAD_PATHNAME), and a doubled or trailing one separates nothing.
LSTATUS SplitPath(const std::wstring& path, std::vector<std::wstring>& names) {
    if (!path.empty() && path[0] == L'\\') {
        return ERROR_BAD_PATHNAME;
    }
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        if (end > start) {
            names.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

void MarkDeleted(Key& key) {
    key.deleted = true;
    for (auto& [name, subkey] : key.subkeys) {
        MarkDeleted(*subkey);
    }
    key.subkeys.clear();
    key.values.clear();
}

class ProcessRegistry {
public:
    static ProcessRegistry& Instance() {
        // Never destroyed: another thread may still use a key while the process exits.
        static ProcessRegistry* const registry = new ProcessRegistry();
        return *registry;
    }

    LSTATUS Open(HKEY parent, LPCWSTR subKey, REGSAM access, PHKEY result, bool create,
                 LPDWORD disposition) {
        if (result == nullptr || (create && subKey == nullptr)) {
            return ERROR_INVALID_PARAMETER;
        }
        *result = nullptr;
        std::lock_guard<std::mutex> lock(mutex);
        OpenKey start;
        std::vector<std::wstring> names;
        const LSTATUS found = ResolvePathLocked(parent, subKey, start, names);
        if (found != ERROR_SUCCESS) {
            return found;
        }
        if (names.empty() && IsCurrentUser(parent)) {
            *result = parent;
            SetDisposition(disposition, REG_OPENED_EXISTING_KEY);
            return ERROR_SUCCESS;
        }
        std::shared_ptr<Key> key = start.key;
        bool created = false;
        for (const std::wstring& name : names) {
            auto subkey = key->subkeys.find(name);
            if (subkey == key->subkeys.end()) {
                if (!create) {
                    return ERROR_FILE_NOT_FOUND;
                }
                subkey = key->subkeys.emplace(name, std::make_shared<Key>()).first;
                created = true;
            }
            key = subkey->second;
        }
        const auto handle = reinterpret_cast<HKEY>(nextHandle);
        nextHandle += 4;
        handles[handle] = OpenKey{key, access};
        *result = handle;
        SetDisposition(disposition, created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY);
        return ERROR_SUCCESS;
    }

    LSTATUS Close(HKEY handle) {
        if (IsCurrentUser(handle)) {
            return ERROR_SUCCESS;
        }
        std::lock_guard<std::mutex> lock(mutex);
        return handles.erase(handle) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    }

    LSTATUS EnumerateSubkey(HKEY handle, DWORD index, LPWSTR name, LPDWORD nameLength,
                            LPWSTR keyClass, LPDWORD classLength, PFILETIME lastWriteTime) {
        if (name == nullptr || nameLength == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        return WithKey(handle, KEY_ENUMERATE_SUB_KEYS, [&](Key& key) -> LSTATUS {
            if (index >= key.subkeys.size()) {
                return ERROR_NO_MORE_ITEMS;
            }
            const std::wstring& subkeyName = std::next(key.subkeys.begin(), index)->first;
            if (subkeyName.size() >= *nameLength) {
                return ERROR_MORE_DATA;
            }
            std::memcpy(name, subkeyName.c_str(), (subkeyName.size() + 1) * sizeof(wchar_t));
            *nameLength = static_cast<DWORD>(subkeyName.size());
            if (keyClass != nullptr && classLength != nullptr && *classLength > 0) {
                keyClass[0] = L'\0';
            }
            if (classLength != nullptr) {
                *classLength = 0;
            }
            if (lastWriteTime != nullptr) {
                *lastWriteTime = FILETIME{};
            }
            return ERROR_SUCCESS;
        });
    }

    LSTATUS QueryValue(HKEY handle, LPCWSTR valueName, LPDWORD type, LPBYTE data,
                       LPDWORD dataSize) {
        if (data != nullptr && dataSize == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        return WithKey(handle, KEY_QUERY_VALUE, [&](Key& key) -> LSTATUS {
            const auto value = key.values.find(TextOrEmpty(valueName));
            if (value == key.values.end()) {
                return ERROR_FILE_NOT_FOUND;
            }
            if (type != nullptr) {
                *type = value->second.type;
            }
            if (dataSize == nullptr) {
                return ERROR_SUCCESS;
            }
            const std::vector<BYTE>& bytes = value->second.data;
            const DWORD room = *dataSize;
            *dataSize = static_cast<DWORD>(bytes.size());
            if (data == nullptr) {
                return ERROR_SUCCESS;
            }
            if (room < bytes.size()) {
                return ERROR_MORE_DATA;
            }
            std::copy(bytes.begin(), bytes.end(), data);
            return ERROR_SUCCESS;
        });
    }

    LSTATUS SetValue(HKEY handle, LPCWSTR valueName, DWORD type, const BYTE* data, DWORD dataSize) {
        if (data == nullptr && dataSize != 0) {
            return ERROR_INVALID_PARAMETER;
        }
        return WithKey(handle, KEY_SET_VALUE, [&](Key& key) -> LSTATUS {
            Value& value = key.values[TextOrEmpty(valueName)];
            value.type = type;
            value.data.assign(data, data + dataSize);
            return ERROR_SUCCESS;
        });
    }

    LSTATUS DeleteTree(HKEY handle, LPCWSTR subKey) {
        std::lock_guard<std::mutex> lock(mutex);
        OpenKey open;
        std::vector<std::wstring> names;
        const LSTATUS found = ResolvePathLocked(handle, subKey, open, names);
        if (found != ERROR_SUCCESS) {
            return found;
        }
        if (names.empty()) {
            for (auto& [name, subkey] : open.key->subkeys) {
                MarkDeleted(*subkey);
            }
            open.key->subkeys.clear();
            open.key->values.clear();
            return ERROR_SUCCESS;
        }
        std::shared_ptr<Key> parent = open.key;
        for (std::size_t at = 0; at + 1 < names.size(); ++at) {
            const auto subkey = parent->subkeys.find(names[at]);
            if (subkey == parent->subkeys.end()) {
                return ERROR_FILE_NOT_FOUND;
            }
            parent = subkey->second;
        }
        const auto doomed = parent->subkeys.find(names.back());
        if (doomed == parent->subkeys.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        MarkDeleted(*doomed->second);
        parent->subkeys.erase(doomed);
        return ERROR_SUCCESS;
    }

private:
    ProcessRegistry() = default;

    static bool IsCurrentUser(HKEY handle) { return handle == HKEY_CURRENT_USER; }

    static void SetDisposition(LPDWORD disposition, DWORD value) {
        if (disposition != nullptr) {
            *disposition = value;
        }
    }

    // Holding the lock, hands the key behind the handle to `use` once it has the access needed.
    template <typename Use>
    LSTATUS WithKey(HKEY handle, REGSAM needed, const Use& use) {
        std::lock_guard<std::mutex> lock(mutex);
        OpenKey open;
        const LSTATUS found = ResolveLocked(handle, open, needed);
        return found != ERROR_SUCCESS ? found : use(*open.key);
    }

    // The key behind a handle and the names on the path below it.
    LSTATUS ResolvePathLocked(HKEY handle, LPCWSTR subKey, OpenKey& open,
                              std::vector<std::wstring>& names) const {
        const LSTATUS found = ResolveLocked(handle, open);
        return found != ERROR_SUCCESS ? found : SplitPath(TextOrEmpty(subKey), names);
    }

    // The key behind a handle, checked for the access the call needs.
    LSTATUS ResolveLocked(HKEY handle, OpenKey& open, REGSAM needed = 0) const {
        if (IsCurrentUser(handle)) {
            open = OpenKey{currentUser, ~REGSAM{0}};
        } else {
            const auto found = handles.find(handle);
            if (found == handles.end()) {
                return ERROR_INVALID_HANDLE;
            }
            open = found->second;
        }
        if (open.key->deleted) {
            return ERROR_KEY_DELETED;
        }
        return (open.access & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    }

    std::mutex mutex;
    const std::shared_ptr<Key> currentUser = std::make_shared<Key>();
    std::map<HKEY, OpenKey> handles;
    std::uintptr_t nextHandle = 0x1000;
};

}  // namespace

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
    return ProcessRegistry::Instance().Open(key, subKey, access, result, false, nullptr);
}

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access,
                        const LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    return ProcessRegistry::Instance().Open(key, subKey, access, result, true, disposition);
}

LSTATUS RegCloseKey(HKEY key) {
    return ProcessRegistry::Instance().Close(key);
}

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD,
                      LPWSTR keyClass, LPDWORD classLength, PFILETIME lastWriteTime) {
    return ProcessRegistry::Instance().EnumerateSubkey(key, index, name, nameLength, keyClass,
                                                       classLength, lastWriteTime);
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize) {
    return ProcessRegistry::Instance().QueryValue(key, valueName, type, data, dataSize);
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data,
                       DWORD dataSize) {
    return ProcessRegistry::Instance().SetValue(key, valueName, type, data, dataSize);
}

LSTATUS RegDeleteTreeW(HKEY key, LPCWSTR subKey) {
    return ProcessRegistry::Instance().DeleteTree(key, subKey);
}
