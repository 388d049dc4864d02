#pragma once

#include "platform/win32/win_types.h"

// Run-time class records: each dynamic class has one, naming its base, so code
// can ask IsKindOf and cast with DYNAMIC_DOWNCAST.

class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject
{
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;

    static const CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass() { return const_cast<CRuntimeClass*>(&classCObject); }

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    static CRuntimeClass* GetThisClass()                                                           \
    {                                                                                              \
        return RUNTIME_CLASS(class_name);                                                          \
    }                                                                                              \
    CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    const CRuntimeClass class_name::class##class_name = {#class_name,                              \
                                                         static_cast<int>(sizeof(class_name)),     \
                                                         nullptr, RUNTIME_CLASS(base_class_name)}; \
    CRuntimeClass* class_name::GetRuntimeClass() const                                             \
    {                                                                                              \
        return RUNTIME_CLASS(class_name);                                                          \
    }

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject()                                                            \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, static_cast<int>(sizeof(class_name)), &class_name::CreateObject,              \
        RUNTIME_CLASS(base_class_name)};                                                           \
    CRuntimeClass* class_name::GetRuntimeClass() const                                             \
    {                                                                                              \
        return RUNTIME_CLASS(class_name);                                                          \
    }

template <class T> T* AfxDynamicDownCast(CObject* object)
{
    return object != nullptr && object->IsKindOf(T::GetThisClass()) ? static_cast<T*>(object)
                                                                    : nullptr;
}

template <class T> const T* AfxDynamicDownCast(const CObject* object)
{
    return object != nullptr && object->IsKindOf(T::GetThisClass()) ? static_cast<const T*>(object)
                                                                    : nullptr;
}

#define DYNAMIC_DOWNCAST(class_name, object) (AfxDynamicDownCast<class_name>(object))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
