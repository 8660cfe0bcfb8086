// Owners of the Windows handles the benchmark tools open: each one is given
// back exactly once, also when a tool gives up half-way.
#pragma once

#include <windows.h>

#include <utility>

namespace winbench {

template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset() {
        if (handle_ != nullptr) Release(handle_);
        handle_ = nullptr;
    }

private:
    Handle handle_ = nullptr;
};

using KernelHandle = Owned<HANDLE, CloseHandle>;
using OwnedWindow = Owned<HWND, DestroyWindow>;

// One BeginDeferWindowPos batch. A batch that is dropped without End() is still
// ended, so no window is left half-positioned.
class DeferBatch {
public:
    explicit DeferBatch(int expected) : batch_(BeginDeferWindowPos(expected)) {}
    ~DeferBatch() {
        if (batch_ != nullptr) EndDeferWindowPos(batch_);
    }
    DeferBatch(const DeferBatch&) = delete;
    DeferBatch& operator=(const DeferBatch&) = delete;

    explicit operator bool() const { return batch_ != nullptr; }

    // False when the move was refused; the platform has then freed the batch.
    bool Move(HWND window, int x, int y, UINT flags) {
        if (batch_ == nullptr) return false;
        batch_ = DeferWindowPos(batch_, window, nullptr, x, y, 0, 0, flags);
        return batch_ != nullptr;
    }

    bool End() {
        HDWP batch = std::exchange(batch_, nullptr);
        return batch != nullptr && EndDeferWindowPos(batch);
    }

private:
    HDWP batch_;
};

}  // namespace winbench
