#pragma once

#include <cstdint>
#include <string_view>

namespace core {

// How a message box looks; the editor maps these to its icons.
enum class UiIcon { Information, Warning, Error, Question };

// Core code that must ask the user goes through here: the editor installs its dialogs, the CLI
// its options, tests a fake.
class IUiHooks
{
public:
    virtual ~IUiHooks() = default;
    // The user-database address; 0 stands for "Auto" and for a cancelled dialog.
    virtual std::uint32_t AskUserDbAddress() = 0;
    // A modal message box with an OK button.
    virtual void ShowMessage(std::string_view text, std::string_view caption, UiIcon icon) = 0;
};

// The installed hooks. The default ones answer 0 (Auto) and write messages to standard error.
IUiHooks& UiHooks();

// Installs hooks for one scope and puts the previous ones back at its end.
class ScopedUiHooks
{
public:
    explicit ScopedUiHooks(IUiHooks& hooks);
    ~ScopedUiHooks();
    ScopedUiHooks(const ScopedUiHooks&) = delete;
    ScopedUiHooks& operator=(const ScopedUiHooks&) = delete;

private:
    IUiHooks* m_previous;
};

} // namespace core
