// Settings store: load, lookup of the last key, save, and save merging with another writer's save,
// against a naive store that walks the list for every lookup. Run: build/bench/bin/store_bench
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "core/store/encriptor.h"
#include "core/store/scramble.h"
#include "core/text/ansi.h"
#include "core/users/settings_units.h"

namespace {

class MemoryFiles : public mrf::FileSystem {
public:
    std::map<std::string, std::string> files;
    bool ReadFile(const std::string& path, std::string& data, bool& exists, mrf::IoError&) override {
        auto it = files.find(path);
        exists = it != files.end();
        data = exists ? it->second : std::string();
        return true;
    }
    class File : public mrf::WritableFile {
    public:
        explicit File(std::string& data) : data_(data) {}
        bool Replace(const std::string& data, mrf::IoError&) override {
            data_ = data;
            return true;
        }

    private:
        std::string& data_;
    };
    std::unique_ptr<mrf::WritableFile> OpenForWriting(const std::string& path, mrf::IoError&) override {
        return std::make_unique<File>(files[path]);
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::string CanonicalPath(const std::string& path) override { return path; }
    std::unique_ptr<mrf::FileLock> Lock(const std::string&, bool, mrf::IoError&) override {
        return std::make_unique<mrf::FileLock>();
    }
    bool GrantEveryoneAccess(const std::string&) override { return true; }
};

// The baseline: the list alone, every lookup a walk from the start.
class NaiveStore {
public:
    explicit NaiveStore(const std::string& content) : lines_(mrf::SplitLines(mrf::Unscramble(content))) {}
    std::string ReadString(std::string_view name, std::string_view def) const {
        for (const auto& line : lines_) {
            size_t eq = line.find('=');
            if (eq != std::string::npos && mrf::AnsiSameText(std::string_view(line).substr(0, eq), name))
                return std::string(mrf::TrimSpaces(std::string_view(line).substr(eq + 1)));
        }
        return std::string(def);
    }
    std::string Save() const { return mrf::Scramble(mrf::JoinLines(lines_)); }

private:
    std::vector<std::string> lines_;
};

std::string Name(int64_t i) {
    return "Group" + std::to_string(i % 97) + "_FL_" + std::to_string(i) + "_folder";
}

MemoryFiles& FilesOf(int64_t n) {
    static std::map<int64_t, std::unique_ptr<MemoryFiles>> cache;
    auto& slot = cache[n];
    if (!slot) {
        slot = std::make_unique<MemoryFiles>();
        std::vector<std::string> lines;
        for (int64_t i = 0; i < n; ++i)
            lines.push_back(Name(i) + "=C:\\Users\\Public\\Folder" + std::to_string(i));
        slot->files["mrf.dat"] = mrf::Scramble(mrf::JoinLines(lines));
    }
    return *slot;
}

void BM_Load(benchmark::State& state) {
    auto& fs = FilesOf(state.range(0));
    for (auto _ : state) {
        mrf::TEncriptor store("mrf.dat", fs);
        benchmark::DoNotOptimize(store.Count());
    }
}

void BM_NaiveLoad(benchmark::State& state) {
    auto& fs = FilesOf(state.range(0));
    for (auto _ : state) {
        NaiveStore store(fs.files["mrf.dat"]);
        benchmark::DoNotOptimize(&store);
    }
}

void BM_LookupLast(benchmark::State& state) {
    auto& fs = FilesOf(state.range(0));
    mrf::TEncriptor store("mrf.dat", fs);
    const std::string last = mrf::AsciiUpper(Name(state.range(0) - 1));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.ReadString(last, ""));
}

void BM_NaiveLookupLast(benchmark::State& state) {
    auto& fs = FilesOf(state.range(0));
    NaiveStore store(fs.files["mrf.dat"]);
    const std::string last = mrf::AsciiUpper(Name(state.range(0) - 1));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.ReadString(last, ""));
}

void BM_Save(benchmark::State& state) {
    auto& fs = FilesOf(state.range(0));
    const std::string original = fs.files["mrf.dat"];
    mrf::TEncriptor store("mrf.dat", fs);
    int round = 0;
    for (auto _ : state) {
        store.WriteString("Changed", std::to_string(++round));
        store.SaveIfModified(false);
    }
    fs.files["mrf.dat"] = original;
}

// A save that finds another writer's save in the file: the three-way merge over units.
void BM_SaveMerging(benchmark::State& state) {
    auto& fs = FilesOf(state.range(0));
    const std::string original = fs.files["mrf.dat"];
    mrf::TEncriptor mine("mrf.dat", fs, mrf::SettingsUnitOf);
    mrf::TEncriptor theirs("mrf.dat", fs, mrf::SettingsUnitOf);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        theirs.WriteString("Other", std::to_string(++round));
        theirs.SaveIfModified(false);
        state.ResumeTiming();
        mine.WriteString("Group" + std::to_string(round % 97) + "_FL_Count", std::to_string(round));
        mine.SaveIfModified(false);
    }
    fs.files["mrf.dat"] = original;
}

void BM_NaiveSave(benchmark::State& state) {
    auto& fs = FilesOf(state.range(0));
    NaiveStore store(fs.files["mrf.dat"]);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.Save());
}

} // namespace

#define SIZES RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_Load)->SIZES;
BENCHMARK(BM_NaiveLoad)->SIZES;
BENCHMARK(BM_LookupLast)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_NaiveLookupLast)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Save)->SIZES;
BENCHMARK(BM_SaveMerging)->SIZES;
BENCHMARK(BM_NaiveSave)->SIZES;
BENCHMARK_MAIN();
