// Compiling a rule set of 1k, 4k and 16k folder entries; the cost should grow linearly.
// Run: build/native/bin/compile_bench (a Release build gives the meaningful figures).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/engine/compile.h"
#include "core/store/encriptor.h"
#include "../tests/unit/fakes/memory_file_system.h"

namespace {

void BM_CompileRules(benchmark::State& state) {
    mrf::test::MemoryFileSystem files;
    auto writer = std::make_unique<mrf::TEncriptor>("mrf.dat", files);
    mrf::TEncriptor& store = *writer;
    const int count = static_cast<int>(state.range(0));
    store.WriteInteger("Staff_FL_Count", count);
    static const char* const kMasks[] = {"*", "*.doc", "*.doc;*.rtf;*.txt"};
    for (int n = 0; n < count; ++n) {
        const std::string prefix = "Staff_FL_" + std::to_string(n) + "_";
        store.WriteString(prefix + "folder", "C:\\Users\\Shared\\Project " + std::to_string(n) + "\\");
        store.WriteInteger(prefix + "mode", 1 + n % 2);
        store.WriteString(prefix + "mask", kMasks[n % 3]);
        store.WriteString(prefix + "proc", "*");
        store.WriteInteger(prefix + "enabled", 1);
        if (n % 4 == 0)
            store.WriteString(prefix + "exlproc", "*backup.exe");
    }
    // Compile from the store as a program holds it: freshly loaded from the saved file.
    store.SaveIfModified(true);
    writer.reset();
    const mrf::TEncriptor loaded("mrf.dat", files);
    const mrf::CompileInput input{"Staff", mrf::DefaultProcessList("mrf.exe"),
                                  "C:\\Program Files\\Marrowfold\\"};
    size_t entries = 0;
    for (auto _ : state) {
        auto compiled = mrf::CompileRules(loaded, input);
        entries = compiled.size();
        benchmark::DoNotOptimize(compiled);
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.SetComplexityN(count);
}

BENCHMARK(BM_CompileRules)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace

BENCHMARK_MAIN();
