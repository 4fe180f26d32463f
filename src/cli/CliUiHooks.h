#pragma once

#include "common/UiHooks.h"

#include <cstdint>

namespace cli {

// The CLI's answers to the core's questions: the user-database address comes from --address,
// messages go to standard error.
class CliUiHooks final : public core::IUiHooks
{
public:
    explicit CliUiHooks(std::uint32_t address)
        : m_address(address)
    { }
    std::uint32_t AskUserDbAddress() override { return m_address; }
    void ShowMessage(std::string_view text, std::string_view caption, core::UiIcon icon) override;

private:
    std::uint32_t m_address;
};

} // namespace cli
