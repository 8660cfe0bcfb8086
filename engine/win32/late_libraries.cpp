#include "engine/win32/late_libraries.h"

#include <string>

namespace win32 {

namespace {

// From the system folder only: a library of that name beside Trevo.exe, or in
// the current folder, is never the one loaded.
HMODULE SystemLibrary(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::wstring path(folder, n);
    if (path.back() != L'\\') path += L'\\';
    return ::LoadLibraryW((path + name).c_str());
}

template <class Function>
Function* Find(HMODULE library, const char* name) {
    // The cast through void is how a procedure address becomes its own type.
    return library ? reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
}

HMODULE Comdlg32() {
    static const HMODULE library = SystemLibrary(L"comdlg32.dll");
    return library;
}

HMODULE Ole32() {
    static const HMODULE library = SystemLibrary(L"ole32.dll");
    return library;
}

HMODULE WindowsCodecs() {
    static const HMODULE library = SystemLibrary(L"windowscodecs.dll");
    return library;
}

bool comStarted = false;  // CoInitializeEx succeeded here and awaits its CoUninitialize

bool StartCom() {
    static const bool ready = [] {
        auto* initialize = Find<decltype(::CoInitializeEx)>(Ole32(), "CoInitializeEx");
        if (!initialize) return false;
        const HRESULT hr = initialize(nullptr, COINIT_APARTMENTTHREADED);
        comStarted = SUCCEEDED(hr);
        return comStarted || hr == RPC_E_CHANGED_MODE;  // COM runs on the thread already, in another mode
    }();
    return ready;
}

}  // namespace

BOOL LateGetOpenFileNameA(OPENFILENAMEA* record) {
    auto* open = Find<decltype(::GetOpenFileNameA)>(Comdlg32(), "GetOpenFileNameA");
    return open ? open(record) : FALSE;
}

HRESULT LateCreateImagingFactory(IWICImagingFactory** factory) {
    *factory = nullptr;
    if (!StartCom()) return E_FAIL;
    auto* create = Find<decltype(::CoCreateInstance)>(Ole32(), "CoCreateInstance");
    if (!create) return E_FAIL;
    return create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                  reinterpret_cast<void**>(factory));
}

HRESULT LateWICConvertBitmapSource(REFWICPixelFormatGUID format, IWICBitmapSource* source,
                                   IWICBitmapSource** converted) {
    *converted = nullptr;
    auto* convert = Find<decltype(::WICConvertBitmapSource)>(WindowsCodecs(), "WICConvertBitmapSource");
    return convert ? convert(format, source, converted) : E_FAIL;
}

void EndLateCom() {
    if (!comStarted) return;
    comStarted = false;
    if (auto* uninitialize = Find<decltype(::CoUninitialize)>(Ole32(), "CoUninitialize")) uninitialize();
}

}  // namespace win32
