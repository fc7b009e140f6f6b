// Replaces one imported function of a loaded module for as long as the object lives, by
// rewriting the module's import address table. Lets a test see or fail the calls a DLL makes.
#pragma once

#include <windows.h>

class ImportPatch
{
public:
    ImportPatch(HMODULE hModule, const char* pszDll, const char* pszFunction, void* pReplacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the module does not import the function.
    bool IsActive() const { return m_pSlot != nullptr; }
    // The function the module called before the patch.
    template <typename F> F Original() const { return reinterpret_cast<F>(m_pOriginal); }

private:
    static void Write(void** pSlot, void* pValue);

    void** m_pSlot = nullptr;
    void* m_pOriginal = nullptr;
};
