#pragma once
// The account that a security identifier in its string form (S-1-5-...) belongs to.
#include <string>
#include <string_view>

namespace mrf {

class AccountLookup {
public:
    virtual ~AccountLookup() = default;
    // False when the text is no security identifier or no account belongs to it.
    virtual bool LookupSid(std::string_view sid, std::string& name, std::string& domain) = 0;
};

} // namespace mrf
