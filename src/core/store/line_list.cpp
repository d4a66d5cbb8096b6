#include "core/store/line_list.h"

#include "core/text/ansi.h"

namespace mrf {

LineList::LineList(const std::vector<std::string>& lines) {
    lines_.reserve(lines.size());
    chains_.reserve(lines.size());
    for (const auto& l : lines)
        Append(l);
}

LineList::LineList(std::vector<std::string>&& lines) {
    lines_.reserve(lines.size());
    chains_.reserve(lines.size());
    for (auto& l : lines)
        Append(std::move(l));
}

uint64_t LineList::FoldedHash(std::string_view name) {
    // FNV-1a over the upper-case letters, so names that differ only in case hash alike.
    const CaseTable& upper = AnsiUpperTable();
    uint64_t h = 1469598103934665603ull;
    for (char c : name) {
        h ^= upper[static_cast<unsigned char>(c)];
        h *= 1099511628211ull;
    }
    return h;
}

void LineList::SetText(Line& line, std::string text) {
    line.text = std::move(text);
    line.nameLength = line.text.find('=');
    line.hash = line.Named() ? FoldedHash(line.Name()) : 0;
}

void LineList::Link(Index i) {
    Line& line = lines_[i];
    if (!line.Named())
        return;
    auto [it, inserted] = chains_.try_emplace(line.hash, Chain{i, i});
    if (inserted) {
        line.prev = line.next = npos;
        return;
    }
    Chain& chain = it->second;
    // Keep the chain in list order: find the last member before i (usually the tail).
    Index before = chain.tail;
    while (before != npos && before > i)
        before = lines_[before].prev;
    line.prev = before;
    line.next = before == npos ? chain.head : lines_[before].next;
    if (line.prev == npos)
        chain.head = i;
    else
        lines_[line.prev].next = i;
    if (line.next == npos)
        chain.tail = i;
    else
        lines_[line.next].prev = i;
}

void LineList::Unlink(Index i) {
    Line& line = lines_[i];
    if (!line.Named())
        return;
    auto it = chains_.find(line.hash);
    if (it == chains_.end())
        return;
    Chain& chain = it->second;
    if (line.prev == npos)
        chain.head = line.next;
    else
        lines_[line.prev].next = line.next;
    if (line.next == npos)
        chain.tail = line.prev;
    else
        lines_[line.next].prev = line.prev;
    if (chain.head == npos)
        chains_.erase(it);
    line.prev = line.next = npos;
}

LineList::Index LineList::Find(std::string_view name) const {
    auto it = chains_.find(FoldedHash(name));
    if (it == chains_.end())
        return npos;
    for (Index i = it->second.head; i != npos; i = lines_[i].next)
        if (AnsiSameText(lines_[i].Name(), name))
            return i;
    return npos;
}

LineList::Index LineList::First() const {
    return first_;
}

void LineList::Append(std::string text) {
    lines_.emplace_back();
    SetText(lines_.back(), std::move(text));
    const auto i = static_cast<Index>(lines_.size() - 1);
    Link(i);
    if (first_ == npos)
        first_ = i;
}

void LineList::Replace(Index i, std::string text) {
    Unlink(i);
    SetText(lines_[i], std::move(text));
    Link(i);
}

void LineList::Erase(Index i) {
    Unlink(i);
    lines_[i].live = false;
    lines_[i].text.clear();
    lines_[i].text.shrink_to_fit();
    ++removed_;
    if (i == first_) {
        while (first_ < lines_.size() && !lines_[first_].live)
            ++first_;
        if (first_ >= lines_.size())
            first_ = npos;
    }
}

void LineList::Compact() {
    if (removed_ == 0 || removed_ < lines_.size() / 2)
        return;
    *this = LineList(Texts());
}

std::vector<std::string> LineList::Texts() const {
    std::vector<std::string> out;
    out.reserve(size());
    ForEach([&](Index, const Line& line) { out.push_back(line.text); });
    return out;
}

} // namespace mrf
