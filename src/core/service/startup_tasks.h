#pragma once
// What the service program does at every start, however it was started.
#include <string>
#include <vector>

#include "core/store/encriptor.h"
#include "ports/account_lookup.h"
#include "ports/file_system.h"
#include "ports/registry.h"

namespace mrf {

struct StartupTaskContext {
    Registry& registry;
    AccountLookup& accounts;
    FileSystem& files;
    TEncriptor* store;                  // null when the settings file could not be opened
    std::string folder;                 // the program's folder, with its final "\"
    std::vector<std::string> arguments; // without the program
    bool ntFamily = true;
};

enum class StartupTask { Autorun, UserList, Files, Access };

// Runs the tasks in order, each under a guard of its own: a failure is swallowed and the next
// task runs. Returns the tasks that failed.
std::vector<StartupTask> RunStartupTasks(const StartupTaskContext& context);

} // namespace mrf
