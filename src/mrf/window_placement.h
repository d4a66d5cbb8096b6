#pragma once
// The main window's state, size and position in "ulk.ini" (section "main") in the program's folder.
#include <windows.h>

namespace mrf::ui {

// Moves the window where ulk.ini says, brought onto a work area; designedClient: the designed
// client size, for a missing or unreadable file. Maximises it when it was.
void RestorePlacement(HWND window, SIZE designedClient);
// Writes the window's normal rectangle and whether it is maximised.
void SavePlacement(HWND window);

} // namespace mrf::ui
