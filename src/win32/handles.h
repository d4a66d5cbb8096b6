#pragma once
// Move-only owners of Win32 handles, and scope_exit.
#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace mrf::win32 {

template <typename T, typename Traits> class unique_any {
public:
    unique_any() noexcept : value_(Traits::Invalid()) {}
    explicit unique_any(T value) noexcept : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }
    T release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void reset(T value = Traits::Invalid()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }
    // For out-parameters of API calls.
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_;
};

struct NullHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct HkeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct ScHandleTraits {
    static SC_HANDLE Invalid() { return nullptr; }
    static void Close(SC_HANDLE h) { ::CloseServiceHandle(h); }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};
struct GdiTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
// Only for image lists the program creates; comctl32 must be linked where it is used.
struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
// Only for tables made by CreateAcceleratorTable; loaded ones belong to the module.
struct AccelTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL h) { ::DestroyAcceleratorTable(h); }
};

using unique_handle = unique_any<HANDLE, NullHandleTraits>;
using unique_hfile = unique_any<HANDLE, FileHandleTraits>;
using unique_hkey = unique_any<HKEY, HkeyTraits>;
using unique_schandle = unique_any<SC_HANDLE, ScHandleTraits>;
using unique_hmodule = unique_any<HMODULE, ModuleTraits>;
using unique_gdiobj = unique_any<HGDIOBJ, GdiTraits>;
using unique_hmenu = unique_any<HMENU, MenuTraits>;
using unique_hicon = unique_any<HICON, IconTraits>;
using unique_himagelist = unique_any<HIMAGELIST, ImageListTraits>;
using unique_haccel = unique_any<HACCEL, AccelTraits>;

template <typename F> class scope_exit {
public:
    explicit scope_exit(F f) : f_(std::move(f)) {}
    scope_exit(const scope_exit&) = delete;
    scope_exit& operator=(const scope_exit&) = delete;
    ~scope_exit() {
        if (active_)
            f_();
    }
    void release() { active_ = false; }

private:
    F f_;
    bool active_ = true;
};

} // namespace mrf::win32
