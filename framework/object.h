// CObject and run-time class records: CRuntimeClass, RUNTIME_CLASS,
// DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC.
#pragma once

#include <windows.h>

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)                       \
public:                                                   \
    static const CRuntimeClass class##class_name;         \
    CRuntimeClass* GetRuntimeClass() const override;

// The record of a class without a creation function (schema 0xFFFF).
#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                        \
    const CRuntimeClass class_name::class##class_name = {                                     \
        #class_name, static_cast<int>(sizeof(class_name)), 0xFFFF, nullptr,                   \
        RUNTIME_CLASS(base_class_name)};                                                      \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

class CObject {
public:
    static const CRuntimeClass classCObject;
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* rtc) const { return GetRuntimeClass()->IsDerivedFrom(rtc); }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
