// One owner type per kind of Windows handle: move-only, closed exactly once.
// The engine and the small Windows programs of the tests and benchmarks that
// run beside Trevo.exe all hold their handles in these.
#pragma once

#include "engine/types.h"  // only the window-handle number: the tools see no more of the engine

#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <utility>

namespace win32 {

// H is the handle type, Close the call that gives it back, Empty the value that
// names nothing (NULL for most kinds, INVALID_HANDLE_VALUE for files).
template <class H, class Close>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Close::Empty())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Close::Empty()));
        return *this;
    }
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Close::Empty(); }
    // Lets go of a handle that something else has already closed or now owns.
    H release() { return std::exchange(h_, Close::Empty()); }
    void reset(H h = Close::Empty()) {
        if (h_ != Close::Empty()) Close{}(h_);
        h_ = h;
    }

private:
    H h_ = Close::Empty();
};

template <class H>
struct NullEmpty {
    static H Empty() { return nullptr; }
};

struct CloseWindow : NullEmpty<HWND> {
    void operator()(HWND h) const { ::DestroyWindow(h); }
};
struct CloseMenu : NullEmpty<HMENU> {
    void operator()(HMENU h) const { ::DestroyMenu(h); }
};
struct CloseIcon : NullEmpty<HICON> {
    void operator()(HICON h) const { ::DestroyIcon(h); }
};
struct CloseBitmap : NullEmpty<HBITMAP> {
    void operator()(HBITMAP h) const { ::DeleteObject(h); }
};
struct CloseFont : NullEmpty<HFONT> {
    void operator()(HFONT h) const { ::DeleteObject(h); }
};
struct CloseBrush : NullEmpty<HBRUSH> {
    void operator()(HBRUSH h) const { ::DeleteObject(h); }
};
struct CloseMemoryDc : NullEmpty<HDC> {
    void operator()(HDC h) const { ::DeleteDC(h); }
};
struct CloseModule : NullEmpty<HMODULE> {
    void operator()(HMODULE h) const { ::FreeLibrary(h); }
};
struct CloseKernelObject : NullEmpty<HANDLE> {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
struct CloseFile {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
// A batch dropped before it was ended is still ended: no window is left half moved.
struct EndDeferBatch : NullEmpty<HDWP> {
    void operator()(HDWP h) const { ::EndDeferWindowPos(h); }
};
struct FreeArgumentList : NullEmpty<LPWSTR*> {
    void operator()(LPWSTR* h) const { ::LocalFree(h); }
};

using UniqueWindow = Unique<HWND, CloseWindow>;
using UniqueMenu = Unique<HMENU, CloseMenu>;
using UniqueIcon = Unique<HICON, CloseIcon>;
using UniqueBitmap = Unique<HBITMAP, CloseBitmap>;
using UniqueFont = Unique<HFONT, CloseFont>;
using UniqueBrush = Unique<HBRUSH, CloseBrush>;
using UniqueMemoryDc = Unique<HDC, CloseMemoryDc>;  // from CreateCompatibleDC
using UniqueModule = Unique<HMODULE, CloseModule>;  // from LoadLibrary
// Kernel objects come back as NULL from a failed OpenProcess or CreateMutex,
// but as INVALID_HANDLE_VALUE from a failed CreateFile or
// CreateToolhelp32Snapshot: each owner knows its own "nothing".
using UniqueHandle = Unique<HANDLE, CloseKernelObject>;
using UniqueFile = Unique<HANDLE, CloseFile>;
// From BeginDeferWindowPos. DeferWindowPos frees the batch it is given when it
// fails, so the owner lets go of it first: batch.reset(::DeferWindowPos(batch.release(), ...)).
using UniqueDeferBatch = Unique<HDWP, EndDeferBatch>;
using UniqueArgumentList = Unique<LPWSTR*, FreeArgumentList>;  // from CommandLineToArgvW

// A window's DC (or the screen's, for no window), borrowed for a scope.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a DC for a scope; the old one comes back afterwards,
// so the object can be deleted once the scope ends.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    bool ok() const { return old_ && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A COM interface pointer, released once.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the out-parameter of a creating call: whatever was held goes first.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};

// The program carries handles (windows, menus, icons, GDI objects, kernel
// objects, registry keys) as 32-bit numbers. 64-bit Windows keeps every such
// handle within 32 bits so that 32- and 64-bit programs can share them, and a
// number made a handle again is sign-extended, as Windows itself does: that is
// what turns 0x80000001 back into HKEY_CURRENT_USER. Addresses (modules,
// procedures, pointers in records) never travel this way.
template <class H>
H HandleFrom32(std::uint32_t value) {
    return reinterpret_cast<H>(static_cast<INT_PTR>(static_cast<std::int32_t>(value)));
}
template <class H>
std::uint32_t HandleTo32(H h) {
    return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(h));
}

inline HWND ToHwnd(engine::Hwnd h) { return HandleFrom32<HWND>(h); }
inline engine::Hwnd FromHwnd(HWND h) { return HandleTo32(h); }

}  // namespace win32
