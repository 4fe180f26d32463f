#pragma once

#include "boottool/BoardLink.h"
#include "boottool/CmdParser.h"
#include "boottool/Console.h"
#include "boottool/PcAddress.h"
#include "boottool/tftp/TransferTracker.h"

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

// How long a network download still going on when the loader's prompt returns may take to end: the
// board's last acknowledgement and its prompt race each other (milliseconds).
inline constexpr int kFetchGraceMs = 2000;

// Runs loader commands: translation, the text, serial transfers with progress, and the prompt wait.
// A network download counts as done only when the board has fetched the whole file.
class CommandRunner
{
public:
    CommandRunner(BoardLink& link,
                  Console& console,
                  PcAddress& pcAddress,
                  std::string stbIp,
                  TransferTracker& transfers,
                  int fetchGraceMs = kFetchGraceMs);

    // RunOneCommand: one command of the command text (already split at ";").
    [[nodiscard]] CommandResult RunOneCommand(const std::string& command);

private:
    [[nodiscard]] CommandResult SendText(const std::string& text);
    [[nodiscard]] CommandResult SendFetched(const LoaderCommand& command);
    [[nodiscard]] CommandResult SendFile(const LoaderCommand& command);
    [[nodiscard]] CommandResult ReceiveFile(const LoaderCommand& command);
    [[nodiscard]] CommandResult Wait(const char* text);
    [[nodiscard]] CommandResult LinkFailure();

    BoardLink& m_link;
    Console& m_console;
    PcAddress& m_pcAddress;
    std::string m_stbIp;
    TransferTracker& m_transfers;
    int m_fetchGraceMs;
};

} // namespace boottool
