#pragma once

#include "common/UiHooks.h"

#include <cstdint>
#include <optional>

namespace editor {

// Installed for one import: answers the user-database address from a remembered one without
// asking, or asks through the hooks in place before and notes the answer. Messages go on to the
// hooks in place before.
class UserDbAddressHooks final : public core::IUiHooks
{
public:
    explicit UserDbAddressHooks(std::optional<std::uint32_t> remembered);
    UserDbAddressHooks(const UserDbAddressHooks&) = delete;
    UserDbAddressHooks& operator=(const UserDbAddressHooks&) = delete;
    ~UserDbAddressHooks() override = default;

    std::uint32_t AskUserDbAddress() override;
    void ShowMessage(std::string_view text, std::string_view caption, core::UiIcon icon) override;

    // The address the reader was given; nullopt when it asked for none.
    std::optional<std::uint32_t> Address() const { return m_answer; }

private:
    core::IUiHooks& m_outer;
    std::optional<std::uint32_t> m_remembered;
    std::optional<std::uint32_t> m_answer;
    core::ScopedUiHooks m_scope; // last: installed once the rest is in place
};

} // namespace editor
