// RAII owners for Win32 handles: each closes its handle on every way out.
// Move-only; get() lends the handle, release() gives up ownership, reset() swaps in another.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace pelorin {

// UniqueHandle<Traits>: owns one handle value. Traits supply the type,
// the value meaning "none" and the function that closes it.
template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept : h_(Traits::invalid()) {}
    explicit UniqueHandle(Type h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Type get() const noexcept { return h_; }
    bool valid() const noexcept { return h_ != Traits::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    Type release() noexcept { return std::exchange(h_, Traits::invalid()); }
    void reset(Type h = Traits::invalid()) noexcept {
        const Type old = std::exchange(h_, h);
        if (old != Traits::invalid()) Traits::close(old);
    }

    // For APIs that return a handle through a pointer: closes the current one first.
    Type* put() noexcept {
        reset();
        return &h_;
    }

private:
    Type h_;
};

namespace handle_traits {

// Kernel objects that use NULL for "none": processes, threads, events, mutexes, mappings.
struct Kernel {
    using Type = HANDLE;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::CloseHandle(h); }
};

// Files and other objects from CreateFile, which use INVALID_HANDLE_VALUE for "none".
struct File {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::CloseHandle(h); }
};

struct Find {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::FindClose(h); }
};

struct Key {
    using Type = HKEY;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::RegCloseKey(h); }
};

struct Module {
    using Type = HMODULE;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::FreeLibrary(h); }
};

struct Service {
    using Type = SC_HANDLE;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::CloseServiceHandle(h); }
};

struct Window {
    using Type = HWND;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::DestroyWindow(h); }
};

struct GdiObject {
    using Type = HGDIOBJ;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::DeleteObject(h); }
};

struct Icon {
    using Type = HICON;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::DestroyIcon(h); }
};

struct GlobalMemory {
    using Type = HGLOBAL;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::GlobalFree(h); }
};

struct LocalMemory {
    using Type = HLOCAL;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::LocalFree(h); }
};

}  // namespace handle_traits

using KernelHandle = UniqueHandle<handle_traits::Kernel>;  // process, thread, event, token...
using FileHandle = UniqueHandle<handle_traits::File>;
using FindHandle = UniqueHandle<handle_traits::Find>;
using KeyHandle = UniqueHandle<handle_traits::Key>;  // never hold HKEY_LOCAL_MACHINE etc. in one
using ModuleHandle = UniqueHandle<handle_traits::Module>;
using ServiceHandle = UniqueHandle<handle_traits::Service>;
using WindowHandle = UniqueHandle<handle_traits::Window>;
using GdiHandle = UniqueHandle<handle_traits::GdiObject>;
using IconHandle = UniqueHandle<handle_traits::Icon>;
using GlobalHandle = UniqueHandle<handle_traits::GlobalMemory>;
using LocalHandle = UniqueHandle<handle_traits::LocalMemory>;
using TokenHandle = KernelHandle;

// ComPtr<T>: holds one reference to a COM object and releases it.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    explicit ComPtr(T* p) noexcept : p_(p) {}  // adopts the reference
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr& other) noexcept : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) noexcept {
        if (this != &other) {
            if (other.p_) other.p_->AddRef();
            reset(other.p_);
        }
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    void reset(T* p = nullptr) noexcept {
        T* const old = std::exchange(p_, p);
        if (old) old->Release();
    }
    T* detach() noexcept { return std::exchange(p_, nullptr); }

    // For CoCreateInstance and QueryInterface: releases the current object first.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

    // Asks the object for another interface; empty when it has none.
    template <typename U>
    ComPtr<U> as(REFIID iid) const noexcept {
        ComPtr<U> result;
        if (p_) p_->QueryInterface(iid, result.putVoid());
        return result;
    }

private:
    T* p_ = nullptr;
};

// Balances CoInitialize for the lifetime of a scope.
class ComInit {
public:
    ComInit() noexcept : ok_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComInit() {
        if (ok_) ::CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    bool ok() const noexcept { return ok_; }

private:
    bool ok_;
};

}  // namespace pelorin
