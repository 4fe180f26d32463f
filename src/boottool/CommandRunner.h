#pragma once

#include "boottool/BoardLink.h"
#include "boottool/CmdParser.h"
#include "boottool/Console.h"
#include "boottool/PcAddress.h"

#include <string>

namespace boottool {

// How a command ended.
enum class CommandResult {
    Done, // sent, and the loader's prompt came back
    Dropped, // nothing was sent (a split failure, a file that could not be read into memory)
    Fatal, // the run ends with status 1 (the message has been printed)
};

// The prompt the loader prints when it is ready for a command.
inline constexpr const char* kLoaderPrompt = "boot> ";
inline constexpr const char* kTransferStart = "~sta~";
inline constexpr const char* kTransferEnd = "~fin~";

// Runs loader commands: translation, the text, serial transfers with progress, and the prompt wait.
class CommandRunner
{
public:
    CommandRunner(BoardLink& link, Console& console, PcAddress& pcAddress, std::string stbIp);

    // RunOneCommand: one command of the command text (already split at ";").
    [[nodiscard]] CommandResult RunOneCommand(const std::string& command);

private:
    [[nodiscard]] CommandResult SendText(const std::string& text);
    [[nodiscard]] CommandResult SendFile(const LoaderCommand& command);
    [[nodiscard]] CommandResult ReceiveFile(const LoaderCommand& command);
    [[nodiscard]] CommandResult Wait(const char* text);
    [[nodiscard]] CommandResult LinkFailure();

    BoardLink& m_link;
    Console& m_console;
    PcAddress& m_pcAddress;
    std::string m_stbIp;
};

} // namespace boottool
