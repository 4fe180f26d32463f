#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace boottool {

// What the run knows about its TFTP transfers: which client is the board, and which transfers of which
// files began and how they ended. Shared by the TFTP threads and the course of the commands.
class TransferTracker
{
public:
    using Id = std::uint64_t;

    // The board's address as the network set-up gives it ("config ip"); a text that is no IPv4 address
    // leaves no board known.
    void SetBoardAddress(const std::string& address);
    // Whether a client (IPv4 address in network order) is the board.
    [[nodiscard]] bool IsBoard(std::uint32_t client) const;

    // A transfer of `file` to `client` begins; End says whether the whole file was acknowledged.
    [[nodiscard]] Id Begin(const std::string& file, std::uint32_t client);
    void End(Id id, bool completed);

    // Transfers that begin after a mark count for BoardReceived.
    [[nodiscard]] Id Mark() const;
    // Whether the board has received `file` in a transfer begun after `mark`. A transfer of it to the
    // board still going on is given up to graceMs to end before the answer.
    [[nodiscard]] bool BoardReceived(const std::string& file, Id mark, int graceMs);

private:
    enum class State { Running, Completed, Failed };
    struct Transfer
    {
        std::string file;
        std::uint32_t client;
        State state;
    };

    [[nodiscard]] bool IsBoardLocked(std::uint32_t client) const;
    // The state of the board's transfers of `file` since `mark`: Completed if one completed, else
    // Running if one is going on, else Failed.
    [[nodiscard]] State BoardStateLocked(const std::string& file, Id mark) const;

    mutable std::mutex m_mutex;
    std::condition_variable m_ended;
    std::optional<std::uint32_t> m_board;
    std::map<Id, Transfer> m_transfers; // the board's and those still going on
    Id m_next = 1;
};

} // namespace boottool
