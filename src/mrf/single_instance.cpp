#include "mrf/single_instance.h"

#include <cstdio>

#include "core/text/ansi.h"

namespace mrf::ui {
namespace {

std::string InstanceName(const std::string& programPath) {
    // Kernel object names may not hold "\": the path goes in as a hash of its upper-case form.
    const uint64_t h = Fnv1a64(ToAnsiUpper(programPath));
    char name[64];
    std::snprintf(name, sizeof name, "Local\\Marrowfold.mrf.%016llx", static_cast<unsigned long long>(h));
    return name;
}

} // namespace

std::optional<std::vector<std::string>> DecodeCmdLine(const COPYDATASTRUCT& data) {
    if (data.dwData != kCmdLineTag)
        return std::nullopt;
    // Each argument ends with a NUL; a last one without it still counts.
    std::vector<std::string> args;
    const char* p = static_cast<const char*>(data.lpData);
    const char* end = p + (p ? data.cbData : 0);
    while (p < end) {
        std::string arg(p, strnlen(p, static_cast<size_t>(end - p)));
        p += arg.size() + 1;
        args.push_back(std::move(arg));
    }
    return args;
}

SingleInstance::SingleInstance(const std::string& programPath) : name_(InstanceName(programPath)) {
    mutex_.reset(::CreateMutexA(nullptr, FALSE, name_.c_str()));
    otherRuns_ = mutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void SingleInstance::Publish(HWND window) {
    const std::string map = name_ + ".window";
    mapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(uint32_t),
                                        map.c_str()));
    if (!mapping_)
        return;
    if (void* view = ::MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(uint32_t))) {
        *static_cast<volatile uint32_t*>(view) = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
        ::UnmapViewOfFile(view);
    }
}

bool SingleInstance::TakeOver() {
    mutex_.reset();
    mutex_.reset(::CreateMutexA(nullptr, FALSE, name_.c_str()));
    otherRuns_ = !mutex_ || ::GetLastError() == ERROR_ALREADY_EXISTS;
    return !otherRuns_;
}

bool SingleInstance::HandOver(const std::vector<std::string>& arguments) {
    const std::string map = name_ + ".window";
    HWND window = nullptr;
    // The running instance may still be starting: wait up to 10 s for its window.
    for (int i = 0; i < 200 && !window; ++i) {
        win32::unique_handle mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, map.c_str()));
        if (mapping) {
            if (void* view = ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(uint32_t))) {
                window =
                    reinterpret_cast<HWND>(static_cast<uintptr_t>(*static_cast<volatile uint32_t*>(view)));
                ::UnmapViewOfFile(view);
            }
        }
        if (!window || !::IsWindow(window)) {
            window = nullptr;
            ::Sleep(50);
        }
    }
    if (!window)
        return false;
    std::string block;
    for (const auto& a : arguments)
        block.append(a).push_back('\0');
    COPYDATASTRUCT data{kCmdLineTag, static_cast<DWORD>(block.size()), block.data()};
    DWORD_PTR result = 0;
    ::AllowSetForegroundWindow(ASFW_ANY);
    return ::SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                 10000, &result) != 0 &&
           result != 0;
}

} // namespace mrf::ui
