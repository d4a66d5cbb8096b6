#include "core/store/line_list.h"

#include <algorithm>

#include "core/text/ansi.h"

namespace mrf {

LineList::LineList(const std::vector<std::string>& lines) {
    for (const auto& l : lines)
        Append(l);
}

LineList::Line LineList::MakeLine(std::string text) {
    Line line;
    line.text = std::move(text);
    line.nameLength = line.text.find('=');
    return line;
}

void LineList::IndexAdd(uint64_t seq, const Line& line) {
    if (line.nameLength == std::string::npos)
        return;
    auto& seqs = index_[ToAnsiUpper(line.Name())];
    seqs.insert(std::lower_bound(seqs.begin(), seqs.end(), seq), seq);
}

void LineList::IndexRemove(uint64_t seq, const Line& line) {
    if (line.nameLength == std::string::npos)
        return;
    auto found = index_.find(ToAnsiUpper(line.Name()));
    if (found == index_.end())
        return;
    auto& seqs = found->second;
    auto pos = std::lower_bound(seqs.begin(), seqs.end(), seq);
    if (pos != seqs.end() && *pos == seq)
        seqs.erase(pos);
    if (seqs.empty())
        index_.erase(found);
}

LineList::const_iterator LineList::Find(std::string_view name) const {
    auto found = index_.find(ToAnsiUpper(name));
    if (found == index_.end())
        return lines_.end();
    return lines_.find(found->second.front());
}

LineList::iterator LineList::Find(std::string_view name) {
    auto found = index_.find(ToAnsiUpper(name));
    if (found == index_.end())
        return lines_.end();
    return lines_.find(found->second.front());
}

void LineList::Append(std::string text) {
    uint64_t seq = next_++;
    auto it = lines_.emplace_hint(lines_.end(), seq, MakeLine(std::move(text)));
    IndexAdd(seq, it->second);
}

void LineList::Replace(iterator it, std::string text) {
    Line line = MakeLine(std::move(text));
    bool sameName = line.nameLength == it->second.nameLength &&
                    (line.nameLength == std::string::npos || AnsiSameText(line.Name(), it->second.Name()));
    if (!sameName) {
        IndexRemove(it->first, it->second);
        IndexAdd(it->first, line);
    }
    it->second = std::move(line);
}

LineList::iterator LineList::Erase(iterator it) {
    IndexRemove(it->first, it->second);
    return lines_.erase(it);
}

void LineList::Clear() {
    lines_.clear();
    index_.clear();
}

std::vector<std::string> LineList::Texts() const {
    std::vector<std::string> out;
    out.reserve(lines_.size());
    for (const auto& [seq, line] : lines_)
        out.push_back(line.text);
    return out;
}

} // namespace mrf
