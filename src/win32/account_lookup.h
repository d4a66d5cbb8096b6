#pragma once
// Account lookup of a security identifier in its string form.
#include "ports/account_lookup.h"

namespace mrf::win32 {

class Win32AccountLookup : public AccountLookup {
public:
    bool LookupSid(std::string_view sid, std::string& name, std::string& domain) override;
};

} // namespace mrf::win32
