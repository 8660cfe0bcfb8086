// One owner type per kind of Windows handle: move-only, closed exactly once.
#pragma once

#include "engine/platform.h"  // the engine's names before the macros of <windows.h>

#include <windows.h>

#include <utility>

namespace win32 {

template <class H, class Close, H Empty = H{}>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Empty)) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Empty));
        return *this;
    }
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Empty; }
    H release() { return std::exchange(h_, Empty); }
    void reset(H h = Empty) {
        if (h_ != Empty) Close{}(h_);
        h_ = h;
    }

private:
    H h_ = Empty;
};

struct CloseWindow { void operator()(HWND h) const { ::DestroyWindow(h); } };
struct CloseMenu { void operator()(HMENU h) const { ::DestroyMenu(h); } };
struct CloseIcon { void operator()(HICON h) const { ::DestroyIcon(h); } };
struct CloseGdi { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };
struct CloseDc { void operator()(HDC h) const { ::DeleteDC(h); } };

using UniqueWindow = Unique<HWND, CloseWindow>;
using UniqueMenu = Unique<HMENU, CloseMenu>;
using UniqueIcon = Unique<HICON, CloseIcon>;
using UniqueBitmap = Unique<HBITMAP, CloseGdi>;
using UniqueFont = Unique<HFONT, CloseGdi>;
using UniqueBrush = Unique<HBRUSH, CloseGdi>;
using UniqueDc = Unique<HDC, CloseDc>;

class UniqueFile {
public:
    explicit UniqueFile(HANDLE h) : h_(h) {}
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    ~UniqueFile() { if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_); }
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// A window DC borrowed for a scope.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { if (dc_) ::ReleaseDC(hwnd_, dc_); }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a DC for a scope; the old one comes back afterwards.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { if (old_) ::SelectObject(dc_, old_); }

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
    ~ComPtr() { if (p_) p_->Release(); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** put() {
        if (p_) p_->Release();
        p_ = nullptr;
        return &p_;
    }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

inline HWND ToHwnd(unsigned long h) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(h)); }
inline unsigned long FromHwnd(HWND h) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h)); }

}  // namespace win32
