#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace boottool {

// How file data moves for a loader command.
enum class TransferKind {
    None, // the text alone; the loader does the rest (or fetches by TFTP)
    SendFile, // serialdown: the file goes to the board over the serial line
    ReceiveFile, // serialdump: the board's data comes back into a file
};

enum class CmdStatus {
    Ok,
    TooFewWords, // a known command without the words it needs
    FileNotFound, // serialdown of a file that does not exist
    BadNumber, // serialdump length that is not a number
};

// A command translated for the loader.
struct LoaderCommand
{
    CmdStatus status = CmdStatus::Ok;
    std::vector<std::string> preludes; // commands run before this one ("config ip ...", "config tftpport 2000")
    std::string text; // what the loader is sent (without the line feed)
    TransferKind kind = TransferKind::None;
    std::string file; // the file sent or written
    std::uint64_t size = 0; // bytes sent or received
    std::string message; // for a failure: the line to print
    std::string boardAddress; // network commands: the board's address (what "config ip" gives it)
    std::string fetchedFile; // netdown: the file the board must have fetched by the time its prompt returns
};

// The addresses the network commands use.
struct NetAddresses
{
    std::string pcIp; // the PC's address; must be known for commands that NeedsPcAddress
    std::string stbIp; // the receiver's address from -s, or empty
};

// The TFTP port the loader is told to use.
inline constexpr unsigned kTftpPort = 2000;

// Whether the command's translation needs the PC's address (netdown, download, run, boot).
bool NeedsPcAddress(const std::vector<std::string>& words);

// The board's address for the network commands: the -s value, else the PC's address with 1 added to
// its last octet; empty when neither can be had.
std::string BoardAddress(const NetAddresses& net);

// The files of the PC that the command lets the board fetch by TFTP.
std::vector<std::string> TftpFilesOf(const std::vector<std::string>& words);

// Translates one command, given as words and as the text it came from.
[[nodiscard]] LoaderCommand
cmd_parser(const std::vector<std::string>& words, const std::string& original, const NetAddresses& net);

} // namespace boottool
