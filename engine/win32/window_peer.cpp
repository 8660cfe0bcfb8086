#include "engine/win32/window_peer.h"

#include <unordered_map>

namespace win32 {

namespace {

// The engine's windows all belong to the one thread that runs the forms.
std::unordered_map<HWND, WindowPeer*>& Peers() {
    static std::unordered_map<HWND, WindowPeer*> peers;
    return peers;
}

}  // namespace

WindowPeer::~WindowPeer() {
    if (window_) Peers().erase(window_.get());
}

void WindowPeer::Adopt(HWND hwnd) {
    window_.reset(hwnd);
    if (hwnd) Peers()[hwnd] = this;
}

void WindowPeer::WindowDestroyed() {
    Peers().erase(window_.get());
    window_.release();
}

void WindowPeer::AdoptCreated(HWND hwnd, LPARAM createStruct) {
    auto* peer = static_cast<WindowPeer*>(reinterpret_cast<CREATESTRUCTW*>(createStruct)->lpCreateParams);
    if (peer) peer->Adopt(hwnd);
}

WindowPeer* WindowPeer::Find(HWND hwnd) {
    if (!hwnd) return nullptr;
    const auto found = Peers().find(hwnd);
    return found == Peers().end() ? nullptr : found->second;
}

}  // namespace win32
