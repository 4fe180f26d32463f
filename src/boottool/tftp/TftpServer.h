#pragma once

#include "boottool/Console.h"
#include "boottool/tftp/DatagramSocket.h"
#include "boottool/tftp/FileSource.h"
#include "boottool/tftp/TftpOutcome.h"
#include "boottool/tftp/TransferWatch.h"

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
    int retries = 8; // time-outs allowed per block before the transfer ends
};

// Answers read requests (RFC 1350) for the files of this run only. Data goes in 512-byte blocks
// numbered from 1 (rolling over after 65535); request options are ignored. Handle may run on several
// threads at once, one transfer each.
class TftpServer
{
public:
    TftpServer(FileStorage& storage, std::set<std::string> allowedFiles, Console& console, TftpSettings settings = {});

    // Where the lines about refused and malformed requests go; nullptr: the console given above.
    void SetRequestConsole(Console* console) { m_requestConsole = console != nullptr ? console : &m_console; }

    // The file a request asks for when Handle would serve it; nullopt for a request answered at once
    // (refused, malformed, a write request).
    [[nodiscard]] std::optional<std::string> FileToServe(std::span<const std::uint8_t> packet) const;

    // Handles one request received by the listening socket; `handler` is the transfer's own socket and
    // `watch`, when given, follows the transfer.
    [[nodiscard]] TftpOutcome
    Handle(std::span<const std::uint8_t> packet, DatagramSocket& handler, TransferWatch* watch = nullptr);

private:
    // What one wait for an acknowledgement came to.
    enum class AckWait { Acknowledged, TimedOut, Ended };

    // One transfer's file, socket and the client's last packet.
    struct Transfer
    {
        const std::string& file;
        DatagramSocket& handler;
        TransferWatch* watch;
        std::vector<std::uint8_t> reply;
    };

    [[nodiscard]] TftpOutcome
    Serve(const std::string& file, bool netascii, DatagramSocket& handler, TransferWatch* watch);
    [[nodiscard]] TftpOutcome SendFile(Transfer& transfer, FileSource& source);
    // Sends one block until it is acknowledged (nullopt) or the transfer ends (its outcome).
    [[nodiscard]] std::optional<TftpOutcome>
    DeliverBlock(Transfer& transfer, std::uint16_t block, std::span<const std::uint8_t> packet);
    [[nodiscard]] AckWait AwaitAck(Transfer& transfer, std::uint16_t block, TftpOutcome& ended);
    // Prints a line about the transfer.
    void Say(const Transfer& transfer, const std::string& text);

    FileStorage& m_storage;
    const std::set<std::string> m_allowed;
    Console& m_console;
    Console* m_requestConsole;
    TftpSettings m_settings;
};

} // namespace boottool
