#pragma once
// Group lookups over the settings store.
#include <string>
#include <string_view>

#include "core/store/encriptor.h"

namespace mrf {

// The built-in group that is never stored in the catalogue: "Guest group" as translated.
std::string GuestGroupName();

// Whether name is exactly (letter case included) a catalogue name, or, with includeGuest, the
// guest group's name. Throws ConversionError for a malformed group count.
bool IsGroup(const TEncriptor& store, std::string_view name, bool includeGuest);

// The user's group, or empty when the user belongs to no existing group. A membership naming no
// group is removed from the store.
std::string GetUserGroup(TEncriptor& store, std::string_view user);

} // namespace mrf
