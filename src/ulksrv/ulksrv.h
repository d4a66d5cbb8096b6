#pragma once
// The service program's routines and what they share.
#include <windows.h>

#include <string>
#include <vector>

namespace mrf {
struct ServiceStatusRecord;
}

namespace mrf::ulksrv {

// The program's arguments, without the program itself, and its folder with the final "\".
const std::vector<std::string>& Arguments();
const std::string& ProgramFolder();

// Exit code when the process runs as the system account but the service manager did not start it.
inline constexpr int kExitNotStartedAsService = 11;

// Hands the process to the service control dispatcher; returns when the service has stopped.
// False when the dispatcher could not be started.
bool RunAsService();
void WINAPI ServiceMain(DWORD argc, char** argv);
void WINAPI ServiceCtrlHandler(DWORD control);
// Sends one status report (the record ServiceRun builds for a state) to the service manager.
BOOL ReportServiceStatus(const ServiceStatusRecord& record);

// Installs, repairs, restarts or removes the service; returns the exit code of its outcome.
int SetupService();
// Shows nothing; the outcome reaches the caller only through the exit code.
int ReportOutcome(HWND owner, const char* text, const char* caption, UINT style);

// MoveFileEx with the deletion delayed until the next start of the system.
bool DeleteOnReboot(const std::string& path);

} // namespace mrf::ulksrv
