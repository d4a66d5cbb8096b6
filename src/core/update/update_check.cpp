#include "core/update/update_check.h"

#include <chrono>
#include <random>
#include <stdexcept>

#include "core/gui/option_keys.h"
#include "core/gui/skins.h"
#include "core/text/ansi.h"

namespace mrf {
namespace {

constexpr std::string_view kIdAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXY";

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool ValidHost(std::string_view host) {
    if (host.empty() || host.size() > 253)
        return false;
    if (host.front() == '[') { // an IPv6 literal
        if (host.size() < 3 || host.back() != ']')
            return false;
        for (char c : host.substr(1, host.size() - 2))
            if (HexDigitValue(c) < 0 && c != ':' && c != '.')
                return false;
        return true;
    }
    if (host.front() == '.' || host.front() == '-' || host.back() == '-')
        return false;
    for (char c : host)
        if (!IsAsciiAlnum(c) && c != '-' && c != '.')
            return false;
    return host.find("..") == std::string_view::npos;
}

bool ValidPath(std::string_view path) {
    for (char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '?' || c == '#' || c == '\\')
            return false;
    }
    return true;
}

std::string EscapeQueryValue(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : value) {
        if (IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            const auto u = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

bool IsControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

std::string ValueOf(const std::vector<std::string>& lines, std::string_view name) {
    for (const auto& line : lines) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos && AnsiSameText(std::string_view(line).substr(0, eq), name))
            return line.substr(eq + 1);
    }
    return {};
}

} // namespace

std::optional<UpdateServer> ParseUpdateServer(std::string_view address) {
    UpdateServer server;
    std::string_view rest;
    if (AnsiStartsText(address, "https://")) {
        server.secure = true;
        server.port = 443;
        rest = address.substr(8);
    } else if (AnsiStartsText(address, "http://")) {
        server.secure = false;
        server.port = 80;
        rest = address.substr(7);
    } else {
        return std::nullopt;
    }
    const size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    std::string_view path = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    // The port follows the last ":" outside an IPv6 literal's brackets.
    const size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos) {
        std::string_view digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5)
            return std::nullopt;
        unsigned port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            port = port * 10 + static_cast<unsigned>(c - '0');
        }
        if (port == 0 || port > 65535)
            return std::nullopt;
        server.port = static_cast<uint16_t>(port);
        authority = authority.substr(0, colon);
    }
    if (!ValidHost(authority) || !ValidPath(path))
        return std::nullopt;
    server.host = std::string(authority);
    while (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    server.basePath = std::string(path);
    return server;
}

std::optional<UpdateServer> UpdateServerFor(const std::optional<std::string>& configured) {
    if (!configured)
        return ParseUpdateServer(kDefaultUpdateServer);
    return ParseUpdateServer(*configured);
}

std::string UpdateRequestPath(const UpdateServer& server, std::string_view id, std::string_view version) {
    return server.basePath + "/soft/getver.php?pn=" + std::string(kUpdateProductName) +
           "&un=" + EscapeQueryValue(id) + "&ver=" + EscapeQueryValue(version);
}

bool IsInstallationId(std::string_view text) {
    if (text.size() != kInstallationIdLength)
        return false;
    for (char c : text)
        if (kIdAlphabet.find(c) == std::string_view::npos)
            return false;
    return true;
}

std::string MakeInstallationId(RandomSource& random) {
    std::string id;
    std::mt19937 fallback(
        static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    bool useFallback = false;
    // The largest multiple of the alphabet's size below 256: every character equally likely.
    const unsigned limit = 256 / kIdAlphabet.size() * kIdAlphabet.size();
    while (id.size() < kInstallationIdLength) {
        uint8_t bytes[16];
        if (!useFallback && !random.Fill(bytes))
            useFallback = true;
        if (useFallback)
            for (auto& b : bytes)
                b = static_cast<uint8_t>(fallback());
        for (uint8_t b : bytes)
            if (b < limit && id.size() < kInstallationIdLength)
                id += kIdAlphabet[b % kIdAlphabet.size()];
    }
    return id;
}

std::string InstallationId(TEncriptor& store, RandomSource& random) {
    std::string id = store.ReadString(keys::kUniStr, "");
    if (id.empty()) {
        id = MakeInstallationId(random);
        store.WriteString(keys::kUniStr, id);
        store.SaveIfModified(true);
    }
    return id;
}

std::vector<std::string> ReplyLines(std::string_view body) {
    std::vector<std::string> lines;
    const size_t p = body.find('*');
    if (p == std::string_view::npos)
        return lines;
    const size_t q = body.find('*', p + 1);
    if (q == std::string_view::npos)
        return lines;
    std::string_view block = body.substr(p + 1, q - p - 1);
    while (!block.empty()) {
        const size_t sep = block.find('%');
        std::string_view entry = block.substr(0, sep);
        if (!entry.empty())
            lines.emplace_back(entry);
        if (sep == std::string_view::npos)
            break;
        block.remove_prefix(sep + 1);
    }
    return lines;
}

std::array<UpdateCommand, kUpdateCommandCount> ReplyCommands(const std::vector<std::string>& lines) {
    std::array<UpdateCommand, kUpdateCommandCount> commands;
    for (size_t k = 1; k <= kUpdateCommandCount; ++k) {
        const std::string n = std::to_string(k);
        commands[k - 1] = {ValueOf(lines, "command" + n), ValueOf(lines, "compar" + n + "1"),
                           ValueOf(lines, "compar" + n + "2")};
    }
    return commands;
}

bool ServerMaySet(std::string_view key) {
    for (std::string_view allowed : {keys::kMinimize, keys::kHotKey, keys::kSkinName, keys::kUniStr})
        if (AnsiSameText(key, allowed))
            return true;
    return false;
}

std::string CleanUpdateMessage(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, kMaxUpdateMessageLength))
        out += IsControl(c) ? ' ' : c;
    return out;
}

void RunUpdateCommand(const UpdateCommand& command, TEncriptor& store, UpdateHost& host) {
    if (command.command == "SetStr") {
        if (!ServerMaySet(command.first))
            return;
        // An identifier the server hands out has the same form as one made here (empty: make anew).
        if (AnsiSameText(command.first, keys::kUniStr) && !command.second.empty() &&
            !IsInstallationId(command.second))
            return;
        try {
            store.WriteString(command.first, command.second);
        } catch (const InvalidSettingError&) {
            return; // a value the file cannot hold (a line break): nothing was written
        }
        store.SaveIfModified(true);
    } else if (command.command == "NewVersion") {
        if (host.AskYesNo(CleanUpdateMessage(command.first)))
            host.OpenWebSite();
    } else if (command.command == "Message") {
        host.ShowMessage(CleanUpdateMessage(command.first));
    }
}

void RunUpdateCommands(const std::vector<std::string>& lines, TEncriptor& store, UpdateHost& host) {
    for (const auto& command : ReplyCommands(lines))
        RunUpdateCommand(command, store, host);
}

void ParseUpdateReply(std::string_view body, TEncriptor& store, UpdateHost& host) {
    RunUpdateCommands(ReplyLines(body), store, host);
}

} // namespace mrf
