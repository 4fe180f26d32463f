#pragma once

#include <cstdint>
#include <string>

namespace boottool {

// Follows one file transfer as the server serves it (the board's, to show its progress).
class TransferWatch
{
public:
    virtual ~TransferWatch() = default;
    // The file is open and its first block is about to go.
    virtual void Started(const std::string& file, std::uint64_t size) = 0;
    // The client has acknowledged `bytes` data bytes so far.
    virtual void Acknowledged(std::uint64_t bytes) = 0;
    // The client has acknowledged the last block.
    virtual void Finished(std::uint64_t bytes) = 0;
    // The server is about to print a line about the transfer (a retry, its end).
    virtual void BeforeMessage() = 0;
};

} // namespace boottool
