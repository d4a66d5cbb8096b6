#include "core/gui/password_definition.h"

#include "core/gui/option_keys.h"
#include "core/text/ansi.h"
#include "core/text/translate.h"

namespace mrf {

PasswordFields InitialPasswordFields(const TEncriptor& store) {
    if (store.ReadString(keys::kPassword, "").empty())
        return {};
    return {std::string(kPasswordPlaceholder), ""};
}

std::optional<UserMessage> CheckPasswordFields(const PasswordFields& fields) {
    // Letter case counts here although the prompt ignores it; blanks at the ends never count.
    if (TrimBlanks(fields.enter) == TrimBlanks(fields.confirm))
        return std::nullopt;
    return UserMessage{Tr("Confirm the password !"), std::string(kAppTitle)};
}

std::optional<UserMessage> CommitPassword(TEncriptor& store, MainState& state, PasswordHasher& hasher,
                                          const PasswordFields& fields) {
    if (fields.enter == kPasswordPlaceholder && fields.confirm == kPasswordPlaceholder)
        return std::nullopt;
    const std::string_view text = TrimBlanks(fields.enter);
    if (text.empty()) {
        store.WriteString(keys::kPassword, "");
    } else {
        std::optional<std::string> hashed = hasher.Hash(text);
        if (!hashed)
            return UserMessage{Tr("The password could not be stored; the previous one stays in force."),
                               std::string(kAppTitle), true};
        store.WriteString(keys::kPassword, *hashed);
    }
    state.settingsModified = true;
    return std::nullopt;
}

} // namespace mrf
