// The members of FileNameBox's public surface in the order FileNameBox.h declares them, each
// with the one-line description a host can show for it.
#pragma once

#include <span>
#include <string_view>

namespace relingo {

struct MemberDescription {
    std::u16string_view name;
    // Empty for a member that carries no description.
    std::u16string_view description;
};

// Every public member once, a property's get and set sharing one entry.
std::span<const MemberDescription> FileNameBoxMembers();

// The description of the named member (matched exactly), or "" for none or an unknown name.
std::u16string_view FileNameBoxMemberDescription(std::u16string_view memberName);

} // namespace relingo
