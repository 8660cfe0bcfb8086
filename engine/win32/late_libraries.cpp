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

// A library loaded at the first procedure asked of it, and kept.
class LateLibrary {
public:
    explicit LateLibrary(const wchar_t* name) : name_(name) {}

    // The procedure as its own type; null when the library or the procedure is missing.
    template <class Function>
    Function* Find(const char* procedure) {
        if (!tried_) {
            module_ = SystemLibrary(name_);
            tried_ = true;
        }
        // The cast through void is how a procedure address becomes its own type.
        return module_ ? reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module_, procedure)))
                       : nullptr;
    }

private:
    const wchar_t* name_;
    HMODULE module_ = nullptr;
    bool tried_ = false;
};

LateLibrary comdlg32(L"comdlg32.dll");
LateLibrary ole32(L"ole32.dll");
LateLibrary windowsCodecs(L"windowscodecs.dll");
LateLibrary user32(L"user32.dll");
LateLibrary shcore(L"shcore.dll");

// MDT_EFFECTIVE_DPI of shcore's MONITOR_DPI_TYPE, which MinGW's headers may lack.
constexpr int kEffectiveDpi = 0;

bool comStarted = false;  // CoInitializeEx succeeded here and awaits its CoUninitialize

bool StartCom() {
    static const bool ready = [] {
        auto* initialize = ole32.Find<decltype(::CoInitializeEx)>("CoInitializeEx");
        if (!initialize) return false;
        const HRESULT hr = initialize(nullptr, COINIT_APARTMENTTHREADED);
        comStarted = SUCCEEDED(hr);
        return comStarted || hr == RPC_E_CHANGED_MODE;  // COM runs on the thread already, in another mode
    }();
    return ready;
}

}  // namespace

BOOL LateGetOpenFileNameW(OPENFILENAMEW* record) {
    auto* open = comdlg32.Find<decltype(::GetOpenFileNameW)>("GetOpenFileNameW");
    return open ? open(record) : FALSE;
}

HRESULT LateCreateImagingFactory(IWICImagingFactory** factory) {
    *factory = nullptr;
    if (!StartCom()) return E_FAIL;
    auto* create = ole32.Find<decltype(::CoCreateInstance)>("CoCreateInstance");
    if (!create) return E_FAIL;
    return create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                  reinterpret_cast<void**>(factory));
}

HRESULT LateWICConvertBitmapSource(REFWICPixelFormatGUID format, IWICBitmapSource* source,
                                   IWICBitmapSource** converted) {
    *converted = nullptr;
    auto* convert = windowsCodecs.Find<decltype(::WICConvertBitmapSource)>("WICConvertBitmapSource");
    return convert ? convert(format, source, converted) : E_FAIL;
}

UINT LateGetDpiForWindow(HWND hwnd) {
    auto* query = user32.Find<UINT WINAPI(HWND)>("GetDpiForWindow");
    return query ? query(hwnd) : 0;
}

int LateGetSystemMetricsForDpi(int index, UINT dpi) {
    auto* query = user32.Find<int WINAPI(int, UINT)>("GetSystemMetricsForDpi");
    return query ? query(index, dpi) : 0;
}

bool LateGetDpiForMonitor(HMONITOR monitor, UINT* dpi) {
    auto* query = shcore.Find<HRESULT WINAPI(HMONITOR, int, UINT*, UINT*)>("GetDpiForMonitor");
    UINT y = 0;
    return query && SUCCEEDED(query(monitor, kEffectiveDpi, dpi, &y));
}

bool LateSystemParametersInfoForDpi(UINT action, UINT param, void* value, UINT dpi) {
    auto* query = user32.Find<BOOL WINAPI(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
    return query && query(action, param, value, 0, dpi);
}

void EndLateCom() {
    if (!comStarted) return;
    comStarted = false;
    if (auto* uninitialize = ole32.Find<decltype(::CoUninitialize)>("CoUninitialize")) uninitialize();
}

}  // namespace win32
