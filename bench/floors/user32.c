// A program that loads user32 and calls it once, then ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)instance, (void)previous, (void)commandLine, (void)show;
    return GetSystemMetrics(SM_CXSCREEN) < 0;
}
