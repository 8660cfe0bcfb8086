#include "probe_windows.h"

namespace libprobe {

WindowClass::WindowClass(const char* name, WNDPROC procedure) : name_(name) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    atom_ = ::RegisterClassA(&wc);
}

WindowClass::~WindowClass() {
    if (atom_) ::UnregisterClassA(name_, ::GetModuleHandleA(nullptr));
}

win32::UniqueWindow OpenTopLevel(const WindowClass& cls, const char* title) {
    return win32::UniqueWindow(::CreateWindowExA(0, cls.name(), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320,
                                                 240, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
}

DocumentFrame::DocumentFrame(const WindowClass& frameClass, const WindowClass& documentClass, int documents)
    : wanted_(documents) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    frame_.reset(::CreateWindowExA(0, frameClass.name(), "libprobe frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                                   600, nullptr, nullptr, instance, nullptr));
    if (!frame_) return;
    CLIENTCREATESTRUCT mdi{};
    mdi.idFirstChild = 1000;
    RECT area;
    ::GetClientRect(frame_.get(), &area);
    client_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                area.right, area.bottom, frame_.get(), nullptr, instance, &mdi);
    if (!client_) return;
    for (int i = 0; i < documents; ++i) {
        char title[32];
        wsprintfA(title, "document %d", i + 1);
        HWND doc =
            ::CreateWindowExA(WS_EX_MDICHILD, documentClass.name(), title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, 200, 150, client_, nullptr, instance, nullptr);
        if (doc) documents_.push_back(doc);
    }
}

std::vector<HWND> ChildrenInStackingOrder(HWND parent) {
    std::vector<HWND> out;
    for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) out.push_back(h);
    return out;
}

void HandlePendingMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK PlainWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK DocumentWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcA(hwnd, message, wParam, lParam);
}

}  // namespace libprobe
