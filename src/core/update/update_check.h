#pragma once
// The update check's decisions: where the request goes, the installation identifier it carries, how
// the reply's command block is read, and what the reply's commands may do.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/encriptor.h"
#include "ports/pbkdf2.h"

namespace mrf {

namespace keys {
inline constexpr std::string_view kUniStr = "UniStr";
} // namespace keys

// Used when the registry names no server of its own; the reserved "example" domain until the
// product has a real one, so that the check fails quietly.
inline constexpr std::string_view kDefaultUpdateServer = "https://update.marrowfold.example";
inline constexpr std::string_view kUpdateProductName = "Umberlock";

// The base address of an update server: scheme, host, port and an optional path prefix.
struct UpdateServer {
    bool secure = true; // https
    std::string host;
    uint16_t port = 443;
    std::string basePath; // "" or "/prefix", never ending in "/"
    bool operator==(const UpdateServer&) const = default;
};

// "http[s]://host[:port][/path]", nothing else: no user name, query, fragment, blanks or control
// characters. nullopt for anything malformed, the empty text included.
std::optional<UpdateServer> ParseUpdateServer(std::string_view address);
// The server to ask: the default when the administrator set no address (configured is nullopt);
// an empty or malformed address turns the check off (nullopt).
std::optional<UpdateServer> UpdateServerFor(const std::optional<std::string>& configured);

// The path and query of the request. The values are escaped, which leaves a well-formed identifier
// and version as they are.
std::string UpdateRequestPath(const UpdateServer& server, std::string_view id, std::string_view version);

// The installation identifier: ten characters, each a digit or a capital letter "A" to "Y".
inline constexpr size_t kInstallationIdLength = 10;
bool IsInstallationId(std::string_view text);
// A new identifier from random bytes; the clock seeds a generator where the source fails.
std::string MakeInstallationId(RandomSource& random);
// The stored identifier; the first time, a new one, written and saved at once (the save's failure
// reaches the caller as StoreIoError).
std::string InstallationId(TEncriptor& store, RandomSource& random);

// The reply lines: the "%"-separated entries of the command block, the text strictly between the
// first "*" and the next; empty entries are dropped, and so is everything without two "*".
std::vector<std::string> ReplyLines(std::string_view body);

struct UpdateCommand {
    std::string command, first, second;
    bool operator==(const UpdateCommand&) const = default;
};
inline constexpr size_t kUpdateCommandCount = 5;
// Commands 1 to 5: "command<k>", "compar<k>1", "compar<k>2", each the first line of that name (names
// compared without regard to case), absent meaning empty.
std::array<UpdateCommand, kUpdateCommandCount> ReplyCommands(const std::vector<std::string>& lines);

// The only settings a reply may write: over plain HTTP anyone on the way can answer, so nothing
// that weakens protection (the password, the rules, "Auto") is on the list.
bool ServerMaySet(std::string_view key);
// A message text of the reply as it is shown: control characters become spaces, and it is cut.
inline constexpr size_t kMaxUpdateMessageLength = 500;
std::string CleanUpdateMessage(std::string_view text);

// What the reply's commands do outside the store; called on the window's thread.
class UpdateHost {
public:
    virtual ~UpdateHost() = default;
    // A box with the text and an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A box with the text and the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Opens the product's own web site, never an address from the reply.
    virtual void OpenWebSite() = 0;
};

// One command. "SetStr" writes an allowed key whose value the store accepts and saves at once
// (StoreIoError reaches the caller); "NewVersion" and "Message" show their cleaned text. Anything
// else, a lower-case name included, does nothing.
void RunUpdateCommand(const UpdateCommand& command, TEncriptor& store, UpdateHost& host);
// Commands 1 to 5 of the reply lines, in order.
void RunUpdateCommands(const std::vector<std::string>& lines, TEncriptor& store, UpdateHost& host);
// The reply lines of body, then its commands.
void ParseUpdateReply(std::string_view body, TEncriptor& store, UpdateHost& host);

} // namespace mrf
