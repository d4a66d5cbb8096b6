#include <iostream>

#include "tools/mrfctl.h"
#ifdef _WIN32
#include "win32/settings_store.h"
#include "win32/win32_file_system.h"
#include <fcntl.h>
#include <io.h>
#else
#include "native/posix_file_system.h"
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
    // Lines pass through unchanged: no CR LF translation on the standard streams.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    mrf::win32::UseSystemCaseTable();
    mrf::win32::Win32FileSystem files;
#else
    mrf::PosixFileSystem files;
#endif
    return mrf::RunMrfctl(args, std::cin, std::cout, std::cerr, files);
}
