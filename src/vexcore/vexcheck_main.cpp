// vexcheck: what the reference engine's active rules allow.
#include <fcntl.h>
#include <io.h>

#include <iostream>

#include "core/engine/reference/vexcheck_tool.h"
#include "vexcore/vexcore_files.h"
#include "win32/win32_file_system.h"

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    mrf::win32::Win32FileSystem files;
    const mrf::EngineConfig config = mrf::vexcore::LoadEngineConfig(nullptr);
    return mrf::RunVexcheck(std::vector<std::string>(argv + 1, argv + argc), config.statePath, std::cout,
                            std::cerr, files);
}
