#pragma once
// The ordered name=value lines of a settings store, with an index over the names so a lookup
// does not walk the list. Lines are only ever appended, changed in place or removed.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mrf {

class LineList {
public:
    struct Line {
        std::string text;
        size_t nameLength; // std::string::npos when the line has no "="
        std::string_view Name() const { return std::string_view(text).substr(0, nameLength); }
        std::string_view Value() const {
            return nameLength == std::string::npos ? std::string_view()
                                                   : std::string_view(text).substr(nameLength + 1);
        }
    };
    using Lines = std::map<uint64_t, Line>;
    using iterator = Lines::iterator;
    using const_iterator = Lines::const_iterator;

    LineList() = default;
    explicit LineList(const std::vector<std::string>& lines);

    const_iterator begin() const { return lines_.begin(); }
    const_iterator end() const { return lines_.end(); }
    iterator begin() { return lines_.begin(); }
    iterator end() { return lines_.end(); }
    size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }

    // The first line, in list order, whose name equals name without regard to case.
    const_iterator Find(std::string_view name) const;
    iterator Find(std::string_view name);

    void Append(std::string text);
    void Replace(iterator it, std::string text);
    iterator Erase(iterator it);
    void Clear();

    std::vector<std::string> Texts() const;

private:
    static Line MakeLine(std::string text);
    void IndexAdd(uint64_t seq, const Line& line);
    void IndexRemove(uint64_t seq, const Line& line);

    Lines lines_;
    std::unordered_map<std::string, std::vector<uint64_t>> index_; // upper-case name -> ascending seqs
    uint64_t next_ = 0;
};

} // namespace mrf
