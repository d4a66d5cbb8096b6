#pragma once
// The administrator password's definition dialog (TPass): what its fields start with, its OK check
// and what closing it with OK stores.
#include <optional>
#include <string>
#include <string_view>

#include "core/gui/main_state.h"
#include "core/gui/password_hash.h"
#include "core/store/encriptor.h"

namespace mrf {

// Stands in the first field for a stored password, which is never shown. Not typeable.
inline constexpr std::string_view kPasswordPlaceholder = "\x7f\x7f\x7f\x7f\x7f\x7f\x7f\x7f";

struct PasswordFields {
    std::string enter;
    std::string confirm;
    bool operator==(const PasswordFields&) const = default;
};

// The fields as the dialog opens: the placeholder when a password is stored, else empty.
PasswordFields InitialPasswordFields(const TEncriptor& store);

// nullopt: the dialog may close with OK. Otherwise the message to show ("Confirm the password !");
// the dialog then empties the confirmation field, focuses it and stays open.
std::optional<UserMessage> CheckPasswordFields(const PasswordFields& fields);

// After OK: stores the hash of the entered password, or removes the password when the text is
// blank; the placeholder in both fields keeps the stored one. Sets the settings-modified flag when
// it changed something. Returns a message when the password could not be hashed (nothing changed).
std::optional<UserMessage> CommitPassword(TEncriptor& store, MainState& state, PasswordHasher& hasher,
                                          const PasswordFields& fields);

} // namespace mrf
