#include <gtest/gtest.h>

#include "core/store/encriptor.h"
#include "fakes/memory_file_system.h"

TEST(StoreSmoke, CreatesFileWithSentinel) {
    mrf::test::MemoryFileSystem fs;
    mrf::TEncriptor store("mrf.dat", fs);
    EXPECT_EQ(store.ReadString(mrf::kSentinel, ""), mrf::kSentinel);
}
