#pragma once
// tmrNewVer and CheckForUpdate: five seconds after start-up the window asks the update server once.
// The request runs on a worker thread with bounded time-outs, so that a slow or silent server never
// holds the window; the reply's commands then run on the window's thread.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "core/store/encriptor.h"
#include "core/update/update_check.h"
#include "ports/pbkdf2.h"

namespace mrf::ui {

class UpdateChecker {
public:
    UpdateChecker(TEncriptor& store, RandomSource& random, UpdateHost& host);
    ~UpdateChecker();
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;

    // Enables tmrNewVer on window (the start-up sequence's last step).
    void EnableTimer(HWND window);
    // The timer's tick and the worker's reply; true when msg was one of them.
    bool Handle(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    // Cancels a request under way and waits for its thread (the window is going).
    void Stop();

private:
    void tmrNewVerTimer(HWND window);
    void CheckForUpdate(HWND window);

    struct Request; // shared with the worker
    TEncriptor& store_;
    RandomSource& random_;
    UpdateHost& host_;
    std::shared_ptr<Request> request_;
    std::thread worker_;
};

} // namespace mrf::ui
