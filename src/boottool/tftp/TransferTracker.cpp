#include "boottool/tftp/TransferTracker.h"

#include "platform/Sockets.h"

#include <chrono>

namespace boottool {

void TransferTracker::SetBoardAddress(const std::string& address)
{
    in_addr parsed{};
    const std::lock_guard lock(m_mutex);
    if (platform::ReadIpv4(address, parsed)) {
        m_board = parsed.s_addr;
    } else {
        m_board.reset();
    }
}

bool TransferTracker::IsBoardLocked(std::uint32_t client) const
{
    return m_board && *m_board == client;
}

bool TransferTracker::IsBoard(std::uint32_t client) const
{
    const std::lock_guard lock(m_mutex);
    return IsBoardLocked(client);
}

TransferTracker::Id TransferTracker::Begin(const std::string& file, std::uint32_t client)
{
    const std::lock_guard lock(m_mutex);
    const Id id = m_next++;
    m_transfers.emplace(id, Transfer{file, client, State::Running});
    return id;
}

void TransferTracker::End(Id id, bool completed)
{
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_transfers.find(id);
        if (found == m_transfers.end()) {
            return;
        }
        if (IsBoardLocked(found->second.client)) {
            found->second.state = completed ? State::Completed : State::Failed;
        } else {
            m_transfers.erase(found); // only the board's transfers are asked about later
        }
    }
    m_ended.notify_all();
}

TransferTracker::Id TransferTracker::Mark() const
{
    const std::lock_guard lock(m_mutex);
    return m_next;
}

TransferTracker::State TransferTracker::BoardStateLocked(const std::string& file, Id mark) const
{
    State state = State::Failed;
    for (auto it = m_transfers.lower_bound(mark); it != m_transfers.end(); ++it) {
        const Transfer& transfer = it->second;
        if (transfer.file != file || !IsBoardLocked(transfer.client)) {
            continue;
        }
        if (transfer.state == State::Completed) {
            return State::Completed;
        }
        if (transfer.state == State::Running) {
            state = State::Running;
        }
    }
    return state;
}

bool TransferTracker::BoardReceived(const std::string& file, Id mark, int graceMs)
{
    std::unique_lock lock(m_mutex);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(graceMs);
    m_ended.wait_until(lock, deadline, [&] { return BoardStateLocked(file, mark) != State::Running; });
    return BoardStateLocked(file, mark) == State::Completed;
}

} // namespace boottool
