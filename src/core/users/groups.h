#pragma once
// The group store over the settings store: the catalogue of named groups, the built-in guest
// group, and each user's membership.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/encriptor.h"

namespace mrf {

// The built-in group that is never stored in the catalogue: "Guest group" as translated.
std::string GuestGroupName();

// The catalogue's group count: 0 when absent or below zero. Throws ConversionError when the stored
// text is no number.
int32_t GroupCount(const TEncriptor& store);

struct CatalogueGroup {
    int32_t index = 0;
    std::string name;
    bool operator==(const CatalogueGroup&) const = default;
};

// The catalogue in index order; a missing name reads as the empty name. A count too large to walk
// index by index gives only the indexes that have a stored name or description. Throws
// ConversionError for a malformed count.
std::vector<CatalogueGroup> ReadCatalogue(const TEncriptor& store);

// The guest group's name first when includeGuest, then the catalogue's names in index order.
// Throws ConversionError for a malformed count.
std::vector<std::string> ListGroups(const TEncriptor& store, bool includeGuest);

// Whether name is exactly (letter case included) a catalogue name, or, with includeGuest, the
// guest group's name. A malformed count counts as an empty catalogue.
bool IsGroup(const TEncriptor& store, std::string_view name, bool includeGuest);

// Appends a group to the catalogue; checks nothing about the name. Returns false, changing
// nothing, when the count cannot grow. Throws ConversionError for a malformed count.
bool AddGroup(TEncriptor& store, std::string_view name, std::string_view description);

// Removes the first catalogue group of that name (exact comparison); the later groups move down
// by one with their descriptions. Returns false, changing nothing, when no group has that name.
// Throws ConversionError for a malformed count.
bool DeleteGroup(TEncriptor& store, std::string_view name);

// The user's group, or empty when the user belongs to no existing group. A membership naming no
// group is removed from the store.
std::string GetUserGroup(TEncriptor& store, std::string_view user);

// Stores text as the user's group, whatever it is; GetUserGroup removes a value that names no
// group.
void SetUserGroup(TEncriptor& store, std::string_view user, std::string_view text);

} // namespace mrf
