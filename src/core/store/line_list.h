#pragma once
// The ordered name=value lines of a settings store, with an index over the names so that a
// lookup does not walk the list. Lines are only ever appended, changed in place or removed.
//
// Lines live in one vector; removed lines leave a gap until Compact. Lines whose names hash
// alike are chained in list order, so the first line of a name is the head of its chain.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mrf {

class LineList {
public:
    using Index = uint32_t;
    static constexpr Index npos = UINT32_MAX;

    struct Line {
        std::string text;
        size_t nameLength = std::string::npos; // npos when the line has no "="
        uint64_t hash = 0;
        Index prev = npos, next = npos; // neighbours in the chain of the name's hash
        bool live = true;
        bool Named() const { return nameLength != std::string::npos; }
        std::string_view Name() const { return std::string_view(text).substr(0, Named() ? nameLength : 0); }
        std::string_view Value() const {
            return Named() ? std::string_view(text).substr(nameLength + 1) : std::string_view();
        }
    };

    LineList() = default;
    explicit LineList(const std::vector<std::string>& lines);
    explicit LineList(std::vector<std::string>&& lines);

    size_t size() const { return lines_.size() - removed_; }
    bool empty() const { return size() == 0; }

    // The first line, in list order, whose name equals name without regard to case; npos if none.
    Index Find(std::string_view name) const;
    // The first line of the list; npos when empty.
    Index First() const;
    const Line& At(Index i) const { return lines_[i]; }

    void Append(std::string text);
    void Replace(Index i, std::string text);
    void Erase(Index i);
    // Closes the gaps left by Erase; indices held before it are void after it.
    void Compact();

    // f(index, line) for every line in list order; f may Replace or Erase the line it is given.
    template <typename F> void ForEach(F f) {
        for (Index i = 0; i < lines_.size(); ++i)
            if (lines_[i].live)
                f(i, lines_[i]);
    }
    template <typename F> void ForEach(F f) const {
        for (Index i = 0; i < lines_.size(); ++i)
            if (lines_[i].live)
                f(i, lines_[i]);
    }

    std::vector<std::string> Texts() const;

private:
    struct Chain {
        Index head, tail;
    };
    static uint64_t FoldedHash(std::string_view name);
    void Link(Index i);
    void Unlink(Index i);
    void SetText(Line& line, std::string text);

    std::vector<Line> lines_;
    std::unordered_map<uint64_t, Chain> chains_;
    size_t removed_ = 0;
    Index first_ = npos; // the first live line
};

} // namespace mrf
