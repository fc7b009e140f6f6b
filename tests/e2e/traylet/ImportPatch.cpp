#include "ImportPatch.h"

namespace {

template <typename T> T* At(HMODULE hModule, DWORD rva)
{
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(hModule) + rva);
}

void** FindImportSlot(HMODULE hModule, const char* pszDll, const char* pszFunction)
{
    const auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(hModule);
    const auto* pNt = At<IMAGE_NT_HEADERS>(hModule, pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return nullptr;
    for (auto* pDesc = At<IMAGE_IMPORT_DESCRIPTOR>(hModule, dir.VirtualAddress); pDesc->Name; ++pDesc) {
        if (lstrcmpiA(At<char>(hModule, pDesc->Name), pszDll) != 0 || !pDesc->OriginalFirstThunk)
            continue;
        auto* pName = At<IMAGE_THUNK_DATA>(hModule, pDesc->OriginalFirstThunk);
        auto* pAddress = At<IMAGE_THUNK_DATA>(hModule, pDesc->FirstThunk);
        for (; pName->u1.AddressOfData; ++pName, ++pAddress) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            const auto* pByName =
                At<IMAGE_IMPORT_BY_NAME>(hModule, static_cast<DWORD>(pName->u1.AddressOfData));
            if (lstrcmpA(reinterpret_cast<const char*>(pByName->Name), pszFunction) == 0)
                return reinterpret_cast<void**>(&pAddress->u1.Function);
        }
    }
    return nullptr;
}

} // namespace

ImportPatch::ImportPatch(HMODULE hModule, const char* pszDll, const char* pszFunction, void* pReplacement)
    : m_pSlot(hModule ? FindImportSlot(hModule, pszDll, pszFunction) : nullptr)
{
    if (!m_pSlot)
        return;
    m_pOriginal = *m_pSlot;
    Write(m_pSlot, pReplacement);
}

ImportPatch::~ImportPatch()
{
    if (m_pSlot)
        Write(m_pSlot, m_pOriginal);
}

void ImportPatch::Write(void** pSlot, void* pValue)
{
    DWORD oldProtect = 0;
    VirtualProtect(pSlot, sizeof(*pSlot), PAGE_READWRITE, &oldProtect);
    *pSlot = pValue;
    VirtualProtect(pSlot, sizeof(*pSlot), oldProtect, &oldProtect);
}
