#pragma once

// The little of COM that ActiveX hosting needs: interface IDs, IUnknown with
// reference counting, IDispatch with automation calls, and a smart pointer.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "WinTypes.h"

// A 128-bit interface or class ID, written "{8-4-4-4-12}" in hexadecimal.
struct GUID {
    std::array<std::uint8_t, 16> bytes{};
    friend bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;

namespace detail {
consteval std::uint8_t HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<std::uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint8_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint8_t>(c - 'A' + 10);
    throw "not a hexadecimal digit";
}
}  // namespace detail

// GUID from its registry form, checked at compile time.
consteval GUID MakeGuid(std::string_view text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        throw "malformed GUID";
    GUID guid;
    std::size_t out = 0;
    for (std::size_t i = 1; i + 1 < text.size();) {
        if (text[i] == '-') {
            ++i;
            continue;
        }
        guid.bytes[out++] = static_cast<std::uint8_t>(detail::HexDigit(text[i]) << 4 |
                                                      detail::HexDigit(text[i + 1]));
        i += 2;
    }
    if (out != 16)
        throw "malformed GUID";
    return guid;
}

// Parses "{8-4-4-4-12}" at run time (dialog templates name controls so).
bool ParseGuid(std::string_view text, GUID& guid);

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DISPID = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

// A counted UTF-16 string, as automation passes text.
using BSTR = std::u16string;

inline constexpr GUID IID_IUnknown = MakeGuid("{00000000-0000-0000-C000-000000000046}");
inline constexpr GUID IID_IDispatch = MakeGuid("{00020400-0000-0000-C000-000000000046}");

class IUnknown {
public:
    virtual HRESULT QueryInterface(const IID& riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;  // objects go away through Release, never delete
};

// Automation argument and result types.
inline constexpr std::uint16_t DISPATCH_METHOD = 1;
using VARTYPE = std::uint16_t;
inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_BSTR = 8;
using VARIANT = std::variant<std::monostate, std::int32_t, BSTR>;

class IDispatch : public IUnknown {
public:
    // Calls member `dispid` with `args` in order (not reversed, unlike the
    // wire form); `result` may be null when no result is wanted.
    virtual HRESULT Invoke(DISPID dispid, std::uint16_t flags, const std::vector<VARIANT>& args,
                           VARIANT* result) = 0;

protected:
    ~IDispatch() = default;
};

// Owns one reference to a COM object; releases it when replaced or destroyed.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference of its own.
    explicit ComPtr(T* p) : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~ComPtr() { Release(); }

    // Adopts a reference that the caller already holds.
    static ComPtr Attach(T* p) {
        ComPtr result;
        result.m_p = p;
        return result;
    }
    void Release() {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out parameters: releases what is held and gives the slot.
    void** ReceiveVoid() {
        Release();
        return reinterpret_cast<void**>(&m_p);
    }

private:
    T* m_p = nullptr;
};

// Reference counting for objects of ours: created shared, kept alive by their
// own count, gone with the last Release. `Interface` derives from IUnknown.
template <class Derived, class Interface>
class ComObject : public Interface {
public:
    virtual ~ComObject() = default;

    template <class... Args>
    static ComPtr<Derived> Create(Args&&... args) {
        auto object = std::make_shared<Derived>(std::forward<Args>(args)...);
        object->m_self = object;
        return ComPtr<Derived>(object.get());  // count 1; m_self dropped at 0
    }

    ULONG AddRef() override { return ++m_count; }
    ULONG Release() override {
        const ULONG left = --m_count;
        if (left == 0) {
            auto last = std::move(m_self);  // destroys the object on leaving
        }
        return left;
    }
    ULONG RefCount() const { return m_count; }

protected:
    // Answers for IUnknown and for the interface IDs listed.
    HRESULT QueryFor(const IID& riid, void** ppvObject, std::initializer_list<IID> own) {
        if (!ppvObject)
            return E_POINTER;
        *ppvObject = nullptr;
        bool match = riid == IID_IUnknown;
        for (const IID& id : own)
            match = match || riid == id;
        if (!match)
            return E_NOINTERFACE;
        *ppvObject = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }

private:
    std::atomic<ULONG> m_count{0};
    std::shared_ptr<Derived> m_self;
};
