#pragma once

#include "boottool/tftp/DatagramSocket.h"
#include "boottool/tftp/FileSource.h"
#include "boottool/tftp/TftpPacket.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <optional>

namespace boottool {

// Files held in memory; names in `errors` fail to open with that errno.
class MemoryStorage : public FileStorage
{
public:
    std::map<std::string, std::string> files;
    std::map<std::string, int> errors;

    [[nodiscard]] OpenedFile Open(const std::string& path) override
    {
        OpenedFile opened;
        if (const auto error = errors.find(path); error != errors.end()) {
            opened.error = error->second;
        } else if (const auto file = files.find(path); file != files.end()) {
            opened.source = std::make_unique<Source>(file->second);
            opened.size = file->second.size();
        } else {
            opened.error = ENOENT;
        }
        return opened;
    }

private:
    class Source : public FileSource
    {
    public:
        explicit Source(const std::string& bytes)
            : m_bytes(bytes)
        { }
        [[nodiscard]] bool Read(std::uint8_t* out, std::size_t max, std::size_t& got) override
        {
            got = std::min(max, m_bytes.size() - m_pos);
            std::memcpy(out, m_bytes.data() + m_pos, got);
            m_pos += got;
            return true;
        }

    private:
        const std::string& m_bytes;
        std::size_t m_pos = 0;
    };
};

// A client played from a script. Each wait of the server takes the next step; without steps left the
// client acknowledges the last DATA block, as a well-behaved client does.
class ScriptedClient : public DatagramSocket
{
public:
    // A step returns the packet the client sends, or nullopt for silence (a time-out).
    using Step = std::function<std::optional<std::vector<std::uint8_t>>(std::uint16_t lastBlock)>;

    std::deque<Step> steps;
    std::vector<std::vector<std::uint8_t>> sent; // packets the server sent (DATA payloads kept only when keepData)
    std::vector<std::uint16_t> blocks; // block number of every DATA packet sent
    std::string data; // payload of every DATA packet sent, in order
    bool keepData = true;

    static Step Ack(std::uint16_t block)
    {
        return [block](std::uint16_t) { return tftp::BuildAck(block); };
    }
    static Step Silence()
    {
        return [](std::uint16_t) { return std::nullopt; };
    }
    static Step Send(std::vector<std::uint8_t> packet)
    {
        return [packet](std::uint16_t) { return packet; };
    }

    [[nodiscard]] bool Send(std::span<const std::uint8_t> packet) override
    {
        if (packet.size() >= 4 && packet[1] == static_cast<std::uint8_t>(tftp::Opcode::Data)) {
            m_lastBlock = static_cast<std::uint16_t>((packet[2] << 8) | packet[3]);
            blocks.push_back(m_lastBlock);
            if (keepData) {
                data.append(packet.begin() + 4, packet.end());
            }
        }
        if (keepData || packet[1] != static_cast<std::uint8_t>(tftp::Opcode::Data)) {
            sent.emplace_back(packet.begin(), packet.end());
        }
        return true;
    }

    [[nodiscard]] ReceiveStatus Receive(std::vector<std::uint8_t>& packet, std::size_t, int) override
    {
        std::optional<std::vector<std::uint8_t>> reply;
        if (steps.empty()) {
            reply = tftp::BuildAck(m_lastBlock);
        } else {
            reply = steps.front()(m_lastBlock);
            steps.pop_front();
        }
        if (!reply) {
            return ReceiveStatus::Timeout;
        }
        packet = *reply;
        return ReceiveStatus::Ok;
    }

    std::string LastError() const override { return "scripted"; }

private:
    std::uint16_t m_lastBlock = 0;
};

} // namespace boottool
