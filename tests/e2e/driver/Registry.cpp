#include "Registry.h"

#include <algorithm>

namespace qs::e2e {

namespace {

// An opened registry key, closed when the scope ends.
class Key
{
public:
    Key(HKEY root, const std::string& path, REGSAM access, bool create)
    {
        const LONG status = create ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                     access, nullptr, &m_key, nullptr)
                                   : RegOpenKeyExA(root, path.c_str(), 0, access, &m_key);
        if (status != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~Key()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::optional<std::string> QueryString(HKEY key, const std::string& name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    std::string value(size + 1, '\0');
    DWORD got = size;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &got)
        != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(got);
    while (!value.empty() && value.back() == '\0')
        value.pop_back();
    return value;
}

} // namespace

bool RegistryWriteString(const std::string& key, const std::string& name, const std::string& value, HKEY root)
{
    Key k(root, key, KEY_SET_VALUE, true);
    return k.Get()
           && RegSetValueExA(k.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1))
                  == ERROR_SUCCESS;
}

bool RegistryWriteDword(const std::string& key, const std::string& name, DWORD value, HKEY root)
{
    Key k(root, key, KEY_SET_VALUE, true);
    return k.Get()
           && RegSetValueExA(k.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                             sizeof value)
                  == ERROR_SUCCESS;
}

std::optional<std::string> RegistryReadString(const std::string& key, const std::string& name, HKEY root)
{
    Key k(root, key, KEY_QUERY_VALUE, false);
    if (!k.Get())
        return std::nullopt;
    return QueryString(k.Get(), name);
}

std::optional<DWORD> RegistryReadDword(const std::string& key, const std::string& name, HKEY root)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size)
        != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

bool RegistryValueExists(const std::string& key, const std::string& name, HKEY root)
{
    Key k(root, key, KEY_QUERY_VALUE, false);
    return k.Get()
           && RegQueryValueExA(k.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryKeyExists(const std::string& key, HKEY root)
{
    Key k(root, key, KEY_READ, false);
    return k.Get() != nullptr;
}

std::vector<std::string> RegistryValueNames(const std::string& key, HKEY root)
{
    std::vector<std::string> names;
    Key k(root, key, KEY_QUERY_VALUE, false);
    if (!k.Get())
        return names;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD length = sizeof name;
        if (RegEnumValueA(k.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> RegistrySubkeyNames(const std::string& key, HKEY root)
{
    std::vector<std::string> names;
    Key k(root, key, KEY_ENUMERATE_SUB_KEYS, false);
    if (!k.Get())
        return names;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(k.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool RegistryDeleteValue(const std::string& key, const std::string& name, HKEY root)
{
    Key k(root, key, KEY_SET_VALUE | KEY_QUERY_VALUE, false);
    if (!k.Get())
        return true;
    RegDeleteValueA(k.Get(), name.c_str());
    return !RegistryValueExists(key, name, root);
}

bool RegistryDeleteKey(const std::string& key, HKEY root)
{
    RegDeleteTreeA(root, key.c_str());
    RegDeleteKeyA(root, key.c_str());
    return !RegistryKeyExists(key, root);
}

} // namespace qs::e2e
