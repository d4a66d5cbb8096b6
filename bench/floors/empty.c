// The cheapest Windows program the toolchain builds: it ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)instance, (void)previous, (void)commandLine, (void)show;
    return 0;
}
