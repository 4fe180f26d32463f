#include "boottool/CommandRunner.h"

#include "boottool/OutputFile.h"
#include "boottool/Str2Argv.h"
#include "boottool/UnitTransfer.h"
#include "platform/NativeFile.h"

#include <cstdio>
#include <fstream>
#include <new>
#include <vector>

namespace boottool {

namespace {

// Whole-file read for serialdown; false with `got` set when fewer bytes came than the size said.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& data, std::uint64_t& got)
{
    std::ifstream in(platform::PathOf(path), std::ios::binary);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    got = static_cast<std::uint64_t>(in ? data.size() : static_cast<std::size_t>(in.gcount()));
    return got == data.size();
}

} // namespace

CommandRunner::CommandRunner(BoardLink& link,
                             Console& console,
                             PcAddress& pcAddress,
                             std::string stbIp,
                             TransferTracker& transfers,
                             int fetchGraceMs)
    : m_link(link)
    , m_console(console)
    , m_pcAddress(pcAddress)
    , m_stbIp(std::move(stbIp))
    , m_transfers(transfers)
    , m_fetchGraceMs(fetchGraceMs)
{ }

CommandResult CommandRunner::LinkFailure()
{
    m_console.Err(Format("serial line failed (%s), please check.\n", m_link.FailureText().c_str()));
    return CommandResult::Fatal;
}

CommandResult CommandRunner::Wait(const char* text)
{
    return m_link.WaitFor(text) == LinkStatus::Ok ? CommandResult::Done : LinkFailure();
}

CommandResult CommandRunner::SendText(const std::string& text)
{
    const std::string line = (!text.empty() && text.back() == '\n') ? text : text + "\n";
    if (m_link.Write(line) != LinkStatus::Ok) {
        return LinkFailure();
    }
    return Wait(kLoaderPrompt);
}

CommandResult CommandRunner::RunOneCommand(const std::string& command)
{
    const Str2ArgvResult split = str2argv(command);
    if (!split.ok) {
        m_console.Out(Str2ArgvWarning(split));
        return CommandResult::Dropped;
    }
    if (split.words.empty()) {
        return CommandResult::Dropped;
    }
    NetAddresses net{{}, m_stbIp};
    if (NeedsPcAddress(split.words)) {
        const auto pc = m_pcAddress.Get(m_console);
        if (!pc) {
            return CommandResult::Fatal;
        }
        net.pcIp = *pc;
    }
    const LoaderCommand translated = cmd_parser(split.words, command, net);
    if (translated.status != CmdStatus::Ok) {
        m_console.Out(translated.message);
        return CommandResult::Fatal;
    }
    if (!translated.boardAddress.empty()) {
        m_transfers.SetBoardAddress(translated.boardAddress);
    }
    for (const std::string& prelude : translated.preludes) {
        if (SendText(prelude) != CommandResult::Done) {
            return CommandResult::Fatal;
        }
    }
    switch (translated.kind) {
    case TransferKind::SendFile:
        return SendFile(translated);
    case TransferKind::ReceiveFile:
        return ReceiveFile(translated);
    case TransferKind::None:
        break;
    }
    return translated.fetchedFile.empty() ? SendText(translated.text) : SendFetched(translated);
}

CommandResult CommandRunner::SendFetched(const LoaderCommand& command)
{
    const TransferTracker::Id mark = m_transfers.Mark();
    const CommandResult sent = SendText(command.text);
    if (sent != CommandResult::Done) {
        return sent;
    }
    // The loader's prompt comes back whether or not its fetch worked: only the transfer tells.
    if (!m_transfers.BoardReceived(command.fetchedFile, mark, m_fetchGraceMs)) {
        m_console.Out(Format("download of %s was not completed, please check.\n", command.fetchedFile.c_str()));
        return CommandResult::Fatal;
    }
    return CommandResult::Done;
}

CommandResult CommandRunner::SendFile(const LoaderCommand& command)
{
    std::vector<std::uint8_t> data;
    try {
        data.resize(command.size);
    } catch (const std::bad_alloc&) {
        m_console.Out("malloc failed. please check.\n");
        return CommandResult::Dropped;
    }
    std::uint64_t got = 0;
    if (!ReadWholeFile(command.file, data, got)) {
        // Sending a half-filled buffer would write garbage into the board's flash.
        m_console.Out(Format("read file error.act read len=%llx.\n", static_cast<unsigned long long>(got)));
        return CommandResult::Dropped;
    }
    m_console.Out("\n");
    if (m_link.Write(command.text + "\n") != LinkStatus::Ok) {
        return LinkFailure();
    }
    if (Wait(kTransferStart) != CommandResult::Done) {
        return CommandResult::Fatal;
    }
    m_console.Out(Format("start to send data to stb board, please wait %llus.\n",
                         static_cast<unsigned long long>(command.size / 10000)));
    UnitTotals totals;
    const bool sent = MoveInUnits(
        m_console,
        command.size,
        [&](std::uint64_t offset, std::uint64_t size) {
            return m_link.Write(std::span(data).subspan(offset, size)) == LinkStatus::Ok;
        },
        totals);
    if (!sent) {
        return LinkFailure();
    }
    m_console.Out(Format("\nsend all ok. unit = %llu, count = %llu.\n",
                         static_cast<unsigned long long>(totals.unit),
                         static_cast<unsigned long long>(totals.count)));
    if (Wait(kTransferEnd) != CommandResult::Done) {
        return CommandResult::Fatal;
    }
    return Wait(kLoaderPrompt);
}

CommandResult CommandRunner::ReceiveFile(const LoaderCommand& command)
{
    OutputFile file(command.file);
    if (!file.Create()) {
        m_console.Out(Format("can't create file %s, please check.\n", command.file.c_str()));
        return CommandResult::Fatal;
    }
    if (m_link.Write(command.text + "\n") != LinkStatus::Ok) {
        return LinkFailure();
    }
    if (Wait(kTransferStart) != CommandResult::Done) {
        return CommandResult::Fatal;
    }
    m_console.Out(Format("\nstart to recv data from stb board, please wait %llus.\n",
                         static_cast<unsigned long long>(command.size / 10000)));
    std::vector<std::uint8_t> unit;
    std::uint64_t written = 0;
    UnitTotals totals;
    const bool received = MoveInUnits(
        m_console,
        command.size,
        [&](std::uint64_t, std::uint64_t size) {
            unit.resize(size);
            if (m_link.ReadExact(unit.data(), unit.size()) != LinkStatus::Ok) {
                return false;
            }
            written += file.Write(unit); // keep reading even after a disk error, so the line stays in step
            return true;
        },
        totals);
    if (!received) {
        return LinkFailure();
    }
    m_console.Out(Format("\nrecv all ok. unit = %llu, count = %llu. will write to file %s\n",
                         static_cast<unsigned long long>(totals.unit),
                         static_cast<unsigned long long>(totals.count),
                         command.file.c_str()));
    if (Wait(kTransferEnd) != CommandResult::Done) {
        return CommandResult::Fatal;
    }
    if (written != command.size || !file.Commit()) {
        m_console.Out(Format("write file error.act write len=%llx.\n", static_cast<unsigned long long>(written)));
    }
    return Wait(kLoaderPrompt);
}

} // namespace boottool
