#include "common/UiHooks.h"

#include <cstdio>

namespace core {

namespace {
class StderrUiHooks final : public IUiHooks
{
public:
    std::uint32_t AskUserDbAddress() override { return 0; }
    void ShowMessage(std::string_view text, std::string_view caption, UiIcon) override
    {
        std::fprintf(stderr,
                     "%.*s: %.*s\n",
                     static_cast<int>(caption.size()),
                     caption.data(),
                     static_cast<int>(text.size()),
                     text.data());
    }
};

IUiHooks*& Current()
{
    static StderrUiHooks fallback;
    static IUiHooks* current = &fallback;
    return current;
}
} // namespace

IUiHooks& UiHooks()
{
    return *Current();
}

ScopedUiHooks::ScopedUiHooks(IUiHooks& hooks)
    : m_previous(Current())
{
    Current() = &hooks;
}

ScopedUiHooks::~ScopedUiHooks()
{
    Current() = m_previous;
}

} // namespace core
