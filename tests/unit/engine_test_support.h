#pragma once
// A settings store in memory filled from name=value pairs, for the engine and group tests.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/store/encriptor.h"
#include "fakes/memory_file_system.h"

namespace mrf::test {

using Settings = std::vector<std::pair<std::string, std::string>>;

class StoreFixture {
public:
    explicit StoreFixture(const Settings& settings = {}) : store_("mrf.dat", files_) {
        for (const auto& [name, value] : settings)
            store_.WriteString(name, value);
    }
    TEncriptor& store() { return store_; }

private:
    MemoryFileSystem files_;
    TEncriptor store_;
};

} // namespace mrf::test
