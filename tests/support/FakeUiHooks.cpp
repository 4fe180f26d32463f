#include "support/FakeUiHooks.h"

using core::UiIcon;

namespace testsupport {

FakeUiHooks::FakeUiHooks()
    : m_scope(*this)
{ }

std::uint32_t FakeUiHooks::AskUserDbAddress()
{
    ++addressQuestions;
    if (m_addresses.empty()) {
        return 0;
    }
    const std::uint32_t address = m_addresses.front();
    m_addresses.pop_front();
    return address;
}

void FakeUiHooks::ShowMessage(std::string_view text, std::string_view caption, UiIcon icon)
{
    messages.push_back(Message{std::string(text), std::string(caption), icon});
}

} // namespace testsupport
