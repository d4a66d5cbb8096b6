// A small service-manager client for the end-to-end tests, for what Wine's sc cannot do.
//   svcctl state NAME                      the state the service manager reports
//   svcctl start NAME                      starts the service
//   svcctl interrogate NAME                the state the service itself answers
//   svcctl stop NAME                       sends the stop control
//   svcctl control NAME CODE               sends any control code
//   svcctl config NAME                     type, start type, display name and binary path
//   svcctl setconfig NAME START DISPLAY PATH
//   svcctl stopwait NAME [COMMAND...]      stops the service, waits for STOPPED (10 s at most) and
//                                          prints the states seen; then runs each COMMAND in turn,
//                                          waits for it and prints its exit code. All from within
//                                          one process, because Wine starts stopped automatic
//                                          services whenever a program is launched from outside.
// Prints one line; exit code 0, or 1 with the system's error code printed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Fail(const char* api) {
    std::printf("%s failed: %lu\n", api, ::GetLastError());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: svcctl state|interrogate|stop|control|config|setconfig NAME ...\n");
        return 2;
    }
    const std::string verb = argv[1];
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return Fail("OpenSCManagerA");
    SC_HANDLE service = ::OpenServiceA(manager, argv[2], SERVICE_ALL_ACCESS);
    if (!service)
        return Fail("OpenServiceA");
    int rc = 0;
    SERVICE_STATUS status{};
    if (verb == "start") {
        rc = ::StartServiceA(service, 0, nullptr) ? (std::printf("started\n"), 0) : Fail("StartServiceA");
    } else if (verb == "state") {
        rc = ::QueryServiceStatus(service, &status) ? (std::printf("%lu\n", status.dwCurrentState), 0)
                                                    : Fail("QueryServiceStatus");
    } else if (verb == "interrogate" || verb == "stop" || (verb == "control" && argc > 3)) {
        const DWORD code = verb == "interrogate" ? SERVICE_CONTROL_INTERROGATE
                           : verb == "stop"      ? SERVICE_CONTROL_STOP
                                                 : std::strtoul(argv[3], nullptr, 0);
        rc = ::ControlService(service, code, &status) ? (std::printf("%lu\n", status.dwCurrentState), 0)
                                                      : Fail("ControlService");
    } else if (verb == "config") {
        DWORD needed = 0;
        ::QueryServiceConfigA(service, nullptr, 0, &needed);
        std::vector<unsigned char> buffer(needed + 1);
        auto* c = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
        rc = ::QueryServiceConfigA(service, c, needed, &needed)
                 ? (std::printf("%lu %lu %s|%s\n", c->dwServiceType, c->dwStartType, c->lpDisplayName,
                                c->lpBinaryPathName),
                    0)
                 : Fail("QueryServiceConfigA");
    } else if (verb == "setconfig" && argc > 5) {
        rc = ::ChangeServiceConfigA(service, SERVICE_NO_CHANGE, std::strtoul(argv[3], nullptr, 0),
                                    SERVICE_NO_CHANGE, argv[5], nullptr, nullptr, nullptr, nullptr, nullptr,
                                    argv[4])
                 ? (std::printf("ok\n"), 0)
                 : Fail("ChangeServiceConfigA");
    } else if (verb == "stopwait") {
        if (!::ControlService(service, SERVICE_CONTROL_STOP, &status))
            return Fail("ControlService");
        std::string seen = std::to_string(status.dwCurrentState);
        for (int i = 0; i < 200 && status.dwCurrentState != SERVICE_STOPPED; ++i) {
            ::Sleep(50);
            if (!::QueryServiceStatus(service, &status))
                return Fail("QueryServiceStatus");
            if (seen.back() - '0' != static_cast<int>(status.dwCurrentState))
                seen += " " + std::to_string(status.dwCurrentState);
        }
        std::printf("%s\n", seen.c_str());
        std::fflush(stdout);
        for (int n = 3; n < argc; ++n) {
            STARTUPINFOA si{};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi{};
            if (!::CreateProcessA(nullptr, argv[n], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
                return Fail("CreateProcessA");
            ::WaitForSingleObject(pi.hProcess, 30000);
            DWORD code = 0;
            ::GetExitCodeProcess(pi.hProcess, &code);
            std::printf("exit %lu\n", code);
            std::fflush(stdout);
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
        }
    } else {
        std::fprintf(stderr, "bad arguments\n");
        rc = 2;
    }
    ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
    return rc;
}
