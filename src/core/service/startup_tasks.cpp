#include "core/service/startup_tasks.h"

#include "core/service/autorun.h"
#include "core/service/names.h"
#include "core/users/local_users.h"

namespace mrf {

namespace {

// Creates an empty file where nothing of that name exists.
bool CreateIfMissing(FileSystem& files, const std::string& path) {
    if (files.FileExists(path))
        return true;
    IoError error;
    return files.WriteFile(path, std::string(), error);
}

bool Autorun(const StartupTaskContext& c) {
    if (!c.arguments.empty() && c.arguments.front() == kRemoveSwitch)
        return true;
    return UpdateAutorunAndUninstall(c.registry, c.folder, false);
}

bool UserList(const StartupTaskContext& c) {
    if (!c.store)
        return false;
    c.store->WriteList(kLocalUserListPrefix, ListLocalUsers(c.registry, c.accounts, c.ntFamily));
    c.store->SaveIfModified(true);
    return true;
}

// The GUI program's ini file, and the settings journal, which an ordinary user's save needs but
// may not be able to create in the program folder.
bool Files(const StartupTaskContext& c) {
    const bool ini = CreateIfMissing(c.files, c.folder + std::string(kIniFileName));
    const bool journal = CreateIfMissing(c.files, JournalPath(c.folder + std::string(kSettingsFileName)));
    return ini && journal;
}

bool Access(const StartupTaskContext& c) {
    const std::string settings = c.folder + std::string(kSettingsFileName);
    c.files.GrantEveryoneAccess(settings);
    c.files.GrantEveryoneAccess(JournalPath(settings));
    c.files.GrantEveryoneAccess(c.folder + std::string(kIniFileName));
    return true;
}

} // namespace

std::vector<StartupTask> RunStartupTasks(const StartupTaskContext& context) {
    std::vector<StartupTask> failed;
    const std::pair<StartupTask, bool (*)(const StartupTaskContext&)> tasks[] = {
        {StartupTask::Autorun, Autorun},
        {StartupTask::UserList, UserList},
        {StartupTask::Files, Files},
        {StartupTask::Access, Access},
    };
    for (const auto& [task, run] : tasks) {
        bool done = false;
        try {
            done = run(context);
        } catch (...) {
        }
        if (!done)
            failed.push_back(task);
    }
    return failed;
}

} // namespace mrf
