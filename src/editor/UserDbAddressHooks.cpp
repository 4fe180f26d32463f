#include "editor/UserDbAddressHooks.h"

namespace editor {

UserDbAddressHooks::UserDbAddressHooks(std::optional<std::uint32_t> remembered)
    : m_outer(core::UiHooks())
    , m_remembered(remembered)
    , m_scope(*this)
{ }

std::uint32_t UserDbAddressHooks::AskUserDbAddress()
{
    m_answer = m_remembered ? *m_remembered : m_outer.AskUserDbAddress();
    return *m_answer;
}

void UserDbAddressHooks::ShowMessage(std::string_view text, std::string_view caption, core::UiIcon icon)
{
    m_outer.ShowMessage(text, caption, icon);
}

} // namespace editor
