#pragma once
// The program's one settings store over "mrf.dat" in the program's folder.
#include "core/store/encriptor.h"

namespace mrf::win32 {

class Win32FileSystem;

// Null until InitSettingsStore has run; never replaced while the program runs.
extern TEncriptor* SettingsStore;

// Letter case of names follows the system's ANSI code page.
void UseSystemCaseTable();

// The running program file's full path, and its folder with the final "\".
std::string ProgramPath();
std::string ProgramFolder();
// Windows NT and its successors, as opposed to the 9x family.
bool IsNtFamily();
std::string SettingsPath();
// The system folder, without a final "\".
std::string SystemFolder();

// Fills the ANSI case table from the system's code page, grants every account access to the
// settings file and its journal, and creates the store over path, merging saves by units.
// Throws StoreIoError.
void InitSettingsStore(SettingsUnits units, const std::string& path = SettingsPath());
// Frees the store without saving.
void FreeSettingsStore();

} // namespace mrf::win32
