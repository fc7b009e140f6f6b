// Values and keys of the registry of the test prefix (HKCU unless another root is named).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

namespace qs::e2e {

// Writes a REG_SZ / REG_DWORD value, creating the key as needed. `name` "" is the key's
// default value.
bool RegistryWriteString(const std::string& key, const std::string& name, const std::string& value,
                         HKEY root = HKEY_CURRENT_USER);
bool RegistryWriteDword(const std::string& key, const std::string& name, DWORD value,
                        HKEY root = HKEY_CURRENT_USER);

// A REG_SZ (or REG_EXPAND_SZ, unexpanded) value; nothing when absent or of another type.
std::optional<std::string> RegistryReadString(const std::string& key, const std::string& name,
                                              HKEY root = HKEY_CURRENT_USER);
std::optional<DWORD> RegistryReadDword(const std::string& key, const std::string& name,
                                       HKEY root = HKEY_CURRENT_USER);

bool RegistryValueExists(const std::string& key, const std::string& name, HKEY root = HKEY_CURRENT_USER);
bool RegistryKeyExists(const std::string& key, HKEY root = HKEY_CURRENT_USER);
// Names of the values / subkeys of `key`, sorted.
std::vector<std::string> RegistryValueNames(const std::string& key, HKEY root = HKEY_CURRENT_USER);
std::vector<std::string> RegistrySubkeyNames(const std::string& key, HKEY root = HKEY_CURRENT_USER);

// Deletes one value; true when it is gone afterwards (also when it was never there).
bool RegistryDeleteValue(const std::string& key, const std::string& name, HKEY root = HKEY_CURRENT_USER);
// Deletes a key with all its subkeys; true when it is gone afterwards.
bool RegistryDeleteKey(const std::string& key, HKEY root = HKEY_CURRENT_USER);

// Deletes a key tree when the scope ends (for keys a test creates).
class ScopedRegistryKey
{
public:
    explicit ScopedRegistryKey(std::string key, HKEY root = HKEY_CURRENT_USER)
        : m_key(std::move(key)),
          m_root(root)
    {
    }
    ~ScopedRegistryKey() { RegistryDeleteKey(m_key, m_root); }
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;
    const std::string& Key() const { return m_key; }

private:
    std::string m_key;
    HKEY m_root;
};

} // namespace qs::e2e
