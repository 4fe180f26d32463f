#pragma once

#include "boottool/Console.h"
#include "boottool/tftp/DatagramSocket.h"
#include "boottool/tftp/FileSource.h"

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace boottool {

// Time-out and retry limit of one transfer.
struct TftpSettings
{
    int receiveTimeoutMs = 5000; // per wait for an acknowledgement
    int retries = 8; // time-outs allowed per block before the run ends
};

// How one request ended.
enum class TftpOutcome {
    Sent, // the whole file was acknowledged
    Refused, // not a file of this run (error 2, "Access violation")
    OpenFailed, // the file could not be opened (error 1, 2 or errno + 100)
    Ignored, // a write request
    BadRequest, // unknown opcode or mode, or a malformed request (error 4)
    ClientError, // the client sent an ERROR packet
    ClientGone, // the socket to the client failed
    RetriesExhausted, // "timeout exit": ends the run
    Stopped, // the run ended while the transfer was going on
};

// Answers read requests (RFC 1350) for the files of this run only, one request at a time. Data goes in
// 512-byte blocks numbered from 1 (rolling over after 65535); request options are ignored.
class TftpServer
{
public:
    TftpServer(FileStorage& storage, std::set<std::string> allowedFiles, Console& console, TftpSettings settings = {});

    // Handles one request received by the listening socket; `handler` is the transfer's own socket.
    [[nodiscard]] TftpOutcome Handle(std::span<const std::uint8_t> packet, DatagramSocket& handler);

private:
    // What one wait for an acknowledgement came to.
    enum class AckWait { Acknowledged, SendAgain, TimedOut, Ended };

    [[nodiscard]] TftpOutcome Serve(const std::string& file, bool netascii, DatagramSocket& handler);
    [[nodiscard]] TftpOutcome SendFile(const std::string& file, FileSource& source, DatagramSocket& handler);
    // Sends one block until it is acknowledged (nullopt) or the transfer ends (its outcome).
    [[nodiscard]] std::optional<TftpOutcome> DeliverBlock(const std::string& file,
                                                          std::uint16_t block,
                                                          std::span<const std::uint8_t> packet,
                                                          DatagramSocket& handler);
    [[nodiscard]] AckWait
    AwaitAck(const std::string& file, std::uint16_t block, DatagramSocket& handler, TftpOutcome& ended);

    FileStorage& m_storage;
    std::set<std::string> m_allowed;
    Console& m_console;
    TftpSettings m_settings;
    std::vector<std::uint8_t> m_reply; // the client's last packet
};

} // namespace boottool
