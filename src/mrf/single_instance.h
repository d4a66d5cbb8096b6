#pragma once
// One instance per logon session and program file: a second start hands its arguments over.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win32/handles.h"

namespace mrf::ui {

// WM_COPYDATA tag of a second start's arguments.
inline constexpr ULONG_PTR kCmdLineTag = 0x4D524643; // "MRFC"

// The arguments a second start handed over; nullopt when the data is not ours.
std::optional<std::vector<std::string>> DecodeCmdLine(const COPYDATASTRUCT& data);

class SingleInstance {
public:
    // programPath: the program file's full path, compared without regard to case.
    explicit SingleInstance(const std::string& programPath);
    // Whether another instance of the same program file runs in this logon session.
    bool OtherRuns() const { return otherRuns_; }
    // The first instance makes its window known to later starts.
    void Publish(HWND window);
    // A later start: brings the running instance forward and hands it the arguments. Waits a
    // bounded time for the running instance's window. Returns whether they were delivered.
    bool HandOver(const std::vector<std::string>& arguments);
    // After a failed hand-over: becomes the first instance when the other one has ended meanwhile.
    bool TakeOver();

private:
    std::string name_;
    win32::unique_handle mutex_;
    win32::unique_handle mapping_;
    bool otherRuns_ = false;
};

} // namespace mrf::ui
