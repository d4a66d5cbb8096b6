#include "mrf/update_checker.h"

#include <wininet.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "win32/system_library.h"
#include "win32/version.h"

namespace mrf::ui {
namespace {

constexpr UINT_PTR kNewVerTimer = 2;
constexpr UINT kNewVerInterval = 5000;
constexpr UINT kReplyMessage = WM_APP + 20;
// Bounds of one request: connecting, each send and receive, and the whole reply.
constexpr DWORD kConnectTimeoutMs = 10000;
constexpr DWORD kReceiveTimeoutMs = 15000;
constexpr auto kWholeRequestLimit = std::chrono::seconds(60);
constexpr size_t kMaxReplySize = 64 * 1024;
constexpr auto kStopWait = std::chrono::seconds(2);

// WinINet, loaded by the first check: a run that ends at logon never loads it.
struct InternetApi {
    win32::SystemLibrary library{"wininet.dll"};
#define MRF_INTERNET_FUNCTION(name) decltype(&::name) name = library.Get<decltype(&::name)>(#name)
    MRF_INTERNET_FUNCTION(InternetOpenA);
    MRF_INTERNET_FUNCTION(InternetSetOptionA);
    MRF_INTERNET_FUNCTION(InternetConnectA);
    MRF_INTERNET_FUNCTION(HttpOpenRequestA);
    MRF_INTERNET_FUNCTION(HttpSendRequestA);
    MRF_INTERNET_FUNCTION(HttpQueryInfoA);
    MRF_INTERNET_FUNCTION(InternetReadFile);
    MRF_INTERNET_FUNCTION(InternetCloseHandle);
#undef MRF_INTERNET_FUNCTION
    bool Complete() const {
        return InternetOpenA && InternetSetOptionA && InternetConnectA && HttpOpenRequestA &&
               HttpSendRequestA && HttpQueryInfoA && InternetReadFile && InternetCloseHandle;
    }
};

const InternetApi& Internet() {
    static const InternetApi api;
    return api;
}

// "UpdateServer" under HKLM\Software\Marrowfold (the 64-bit view where there is one), which only
// administrators may write. nullopt: absent.
std::optional<std::string> ConfiguredServer() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Marrowfold", 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                        &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    LONG rc = ::RegQueryValueExA(key, "UpdateServer", nullptr, &type, nullptr, &size);
    std::optional<std::string> value;
    if (rc == ERROR_SUCCESS) {
        std::string text(size, '\0');
        if (type != REG_SZ || size > 2048 ||
            ::RegQueryValueExA(key, "UpdateServer", nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                               &size) != ERROR_SUCCESS)
            value = std::string(); // unreadable: the check is off
        else
            value = text.substr(0, text.find('\0'));
    }
    ::RegCloseKey(key);
    return value;
}

} // namespace

// The worker's handles, which the window's thread closes to cancel a request under way.
struct UpdateChecker::Request {
    std::mutex mutex;
    std::condition_variable ended;
    HINTERNET session = nullptr;
    bool cancelled = false;
    bool done = false;
};

UpdateChecker::UpdateChecker(TEncriptor& store, RandomSource& random, UpdateHost& host)
    : store_(store), random_(random), host_(host) {}

UpdateChecker::~UpdateChecker() {
    Stop();
}

void UpdateChecker::EnableTimer(HWND window) {
    if (window)
        ::SetTimer(window, kNewVerTimer, kNewVerInterval, nullptr);
}

bool UpdateChecker::Handle(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kNewVerTimer) {
        tmrNewVerTimer(window);
        return true;
    }
    if (msg == kReplyMessage) {
        std::unique_ptr<std::string> body(reinterpret_cast<std::string*>(lp));
        if (worker_.joinable())
            worker_.join();
        ParseUpdateReply(*body, store_, host_);
        return true;
    }
    return false;
}

void UpdateChecker::tmrNewVerTimer(HWND window) {
    ::KillTimer(window, kNewVerTimer);
    CheckForUpdate(window);
}

void UpdateChecker::CheckForUpdate(HWND window) {
    if (request_)
        return; // one check per run
    const auto server = UpdateServerFor(ConfiguredServer());
    if (!server)
        return;
    const std::string id = InstallationId(store_, random_);
    const std::string path = UpdateRequestPath(*server, id, win32::GetVersionString());
    request_ = std::make_shared<Request>();
    worker_ = std::thread([request = request_, server = *server, path, window] {
        const auto start = std::chrono::steady_clock::now();
        std::string body;
        const InternetApi& net = Internet();
        HINTERNET session = net.Complete() ? net.InternetOpenA("Marrowfold", INTERNET_OPEN_TYPE_PRECONFIG,
                                                               nullptr, nullptr, 0)
                                           : nullptr;
        {
            std::lock_guard lock(request->mutex);
            if (request->cancelled) {
                if (session)
                    net.InternetCloseHandle(session);
                request->done = true;
                request->ended.notify_all();
                return;
            }
            request->session = session;
        }
        if (session) {
            for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
                net.InternetSetOptionA(session, option, const_cast<DWORD*>(&kConnectTimeoutMs),
                                       sizeof(DWORD));
            net.InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT,
                                   const_cast<DWORD*>(&kReceiveTimeoutMs), sizeof(DWORD));
            HINTERNET connection = net.InternetConnectA(session, server.host.c_str(), server.port, nullptr,
                                                        nullptr, INTERNET_SERVICE_HTTP, 0, 0);
            DWORD flags = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_RELOAD |
                          INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                          INTERNET_FLAG_NO_AUTO_REDIRECT;
            if (server.secure)
                flags |= INTERNET_FLAG_SECURE;
            HINTERNET http = connection ? net.HttpOpenRequestA(connection, "GET", path.c_str(), nullptr,
                                                               nullptr, nullptr, flags, 0)
                                        : nullptr;
            if (http && net.HttpSendRequestA(http, nullptr, 0, nullptr, 0)) {
                DWORD status = 0, size = sizeof status;
                // Only a successful answer carries commands; an error page is no reply.
                if (net.HttpQueryInfoA(http, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                                       nullptr) &&
                    status == 200) {
                    char buffer[4096];
                    DWORD read = 0;
                    while (body.size() < kMaxReplySize &&
                           std::chrono::steady_clock::now() - start < kWholeRequestLimit &&
                           net.InternetReadFile(http, buffer, sizeof buffer, &read) && read > 0)
                        body.append(buffer, read);
                }
            }
            std::lock_guard lock(request->mutex);
            if (!request->cancelled) {
                if (http)
                    net.InternetCloseHandle(http);
                if (connection)
                    net.InternetCloseHandle(connection);
                net.InternetCloseHandle(session);
            }
            request->session = nullptr;
        }
        if (body.size() > kMaxReplySize)
            body.resize(kMaxReplySize);
        // Whatever arrived is parsed, as after a broken connection; the window may be gone already.
        auto* reply = new std::string(std::move(body));
        std::lock_guard lock(request->mutex);
        if (request->cancelled || !::PostMessageA(window, kReplyMessage, 0, reinterpret_cast<LPARAM>(reply)))
            delete reply;
        request->done = true;
        request->ended.notify_all();
    });
}

void UpdateChecker::Stop() {
    if (!request_)
        return;
    std::unique_lock lock(request_->mutex);
    request_->cancelled = true;
    if (request_->session)
        Internet().InternetCloseHandle(request_->session); // ends a call under way
    // Where the system does not end a blocked call at once, the program does not wait for it: the
    // worker holds nothing of the window's and ends by its own time-outs.
    const bool done = request_->ended.wait_for(lock, kStopWait, [this] { return request_->done; });
    lock.unlock();
    if (worker_.joinable()) {
        if (done)
            worker_.join();
        else
            worker_.detach();
    }
    request_.reset();
}

} // namespace mrf::ui
