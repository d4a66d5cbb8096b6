#pragma once
// The helper library of the service program; its programs import it through the import table.
#include <windows.h>

extern "C" {
// Nonzero exactly when the calling process runs under the local system account.
int __stdcall AmSystemProcess();
// An event named name in the namespace of all sessions, which only the system and administrators
// may signal; manualReset and initialState as CreateEvent takes them (nonzero for true).
HANDLE __stdcall CreateGlobalEvent(const char* name, int manualReset, int initialState);
// The event that CreateGlobalEvent made under name, for SetEvent and CloseHandle.
HANDLE __stdcall OpenGlobalEvent(const char* name);
// Adds access for everyone to the service's access list, leaving the rest of it; nonzero on
// success.
int __stdcall AddAccessForEveryone(SC_HANDLE service, DWORD access);
}
