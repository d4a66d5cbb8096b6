#pragma once
// The call interface every engine library exports: __stdcall, undecorated names, texts as
// length-prefixed strings passed by reference.
#include <cstdint>

namespace mrf::win32 {

using CheckDriverFn = unsigned char(__stdcall*)();
using SetSecurityFn = void(__stdcall*)(unsigned char enabled);
using AddEntryFn = void(__stdcall*)(int32_t mode, const unsigned char* path,
                                    const unsigned char* excludeFiles, const unsigned char* processes,
                                    const unsigned char* excludeProcesses);

inline constexpr const char* kEngineLibraryName = "vexcore.dll";

} // namespace mrf::win32
