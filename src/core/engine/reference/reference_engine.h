#pragma once
// The reference engine behind vexcore.dll's exports: keeps the entry set it is given and makes
// it the persistent active set. It does not enforce anything in the kernel.
#include <vector>

#include "ports/engine_library.h"
#include "ports/engine_storage.h"

namespace mrf {

class ReferenceEngine {
public:
    explicit ReferenceEngine(EngineStorage& storage) : storage_(storage) {}

    bool CheckDriver();
    // false: the active set is cleared and enforcement is off. true: the entries added since the
    // last call become the active set, as a whole, and enforcement is on.
    void SetSecurity(bool enabled);
    void AddEntry(const EngineEntry& entry);

private:
    EngineStorage& storage_;
    std::vector<EngineEntry> building_;
};

} // namespace mrf
