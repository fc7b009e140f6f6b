#include "RuntimeClass.h"

#include <cstring>

namespace {

// Head of the list of classes that can be created by name. Built during static
// construction, read-only afterwards.
const CRuntimeClass*& CreatableClasses()
{
    static const CRuntimeClass* s_pFirst = nullptr;
    return s_pFirst;
}

} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", nullptr, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    pNewClass->m_pNextClass = CreatableClasses();
    CreatableClasses() = pNewClass;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName)
{
    for (const CRuntimeClass* p = CreatableClasses(); p; p = p->m_pNextClass)
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    return nullptr;
}

CObject* CRuntimeClass::CreateObject(const char* lpszClassName)
{
    const CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : nullptr;
}
