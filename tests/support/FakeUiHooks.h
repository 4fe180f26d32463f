#pragma once

#include "common/UiHooks.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace testsupport {

// Scripted UI hooks: queued address answers, every message recorded. Installs itself for its scope.
class FakeUiHooks final : public core::IUiHooks
{
public:
    struct Message
    {
        std::string text;
        std::string caption;
        core::UiIcon icon;
    };

    FakeUiHooks();

    void QueueAddress(std::uint32_t address) { m_addresses.push_back(address); }
    std::uint32_t AskUserDbAddress() override;
    void ShowMessage(std::string_view text, std::string_view caption, core::UiIcon icon) override;

    int addressQuestions = 0;
    std::vector<Message> messages;

private:
    std::deque<std::uint32_t> m_addresses;
    core::ScopedUiHooks m_scope;
};

} // namespace testsupport
