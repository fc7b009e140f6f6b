// Runtime-class records: a class name, the base class, and creation for classes that allow it.
#pragma once

class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)(); // null when the class cannot be created by name
    const CRuntimeClass* m_pBaseClass;
    const CRuntimeClass* m_pNextClass; // list of creatable classes, see FromName

    CObject* CreateObject() const;
    // The creatable class of that name, or null.
    static const CRuntimeClass* FromName(const char* lpszClassName);
    static CObject* CreateObject(const char* lpszClassName);
};

// Registers a creatable class for FromName; one static instance per such class.
struct AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

class CObject
{
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    static const CRuntimeClass classCObject;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

// Creatable classes keep a writable record: it is linked into the list of FromName.
#define DECLARE_DYNCREATE(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override; \
    static CObject* CreateObject();

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    const CRuntimeClass class_name::class##class_name = {#class_name, nullptr, \
                                                         RUNTIME_CLASS(base_class_name), nullptr}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const \
    { \
        return RUNTIME_CLASS(class_name); \
    }

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() \
    { \
        return new class_name; \
    } \
    CRuntimeClass class_name::class##class_name = {#class_name, &class_name::CreateObject, \
                                                   RUNTIME_CLASS(base_class_name), nullptr}; \
    static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name); \
    const CRuntimeClass* class_name::GetRuntimeClass() const \
    { \
        return RUNTIME_CLASS(class_name); \
    }
