#pragma once

#include <memory>
#include <string_view>

class CCmdTarget;

// What the program knows of a class at run time: its name and how to make an
// object of it. Classes declared DECLARE_DYNCREATE carry one, reached with
// RUNTIME_CLASS; the application lists those it offers by name.
struct CRuntimeClass {
    const char* m_lpszClassName;
    std::unique_ptr<CCmdTarget> (*m_pfnCreateObject)();

    // A new default-constructed object of the class.
    std::unique_ptr<CCmdTarget> CreateObject() const { return m_pfnCreateObject(); }
    // The class of that name among those the running application offers;
    // null when there is none.
    static const CRuntimeClass* FromName(std::string_view className);
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNCREATE(class_name)             \
public:                                           \
    static const CRuntimeClass class##class_name; \
    static std::unique_ptr<CCmdTarget> CreateObject();

#define IMPLEMENT_DYNCREATE(class_name)                      \
    std::unique_ptr<CCmdTarget> class_name::CreateObject() { \
        return std::make_unique<class_name>();               \
    }                                                        \
    const CRuntimeClass class_name::class##class_name { #class_name, &class_name::CreateObject };
