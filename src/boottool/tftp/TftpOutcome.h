#pragma once

namespace boottool {

// How one request ended.
enum class TftpOutcome {
    Sent, // the whole file was acknowledged
    Refused, // not a file of this run (error 2, "Access violation")
    OpenFailed, // the file could not be opened (error 1, 2 or errno + 100)
    Ignored, // a write request
    BadRequest, // unknown opcode or mode, or a malformed request (error 4)
    ClientError, // the client sent an ERROR packet
    ClientGone, // the socket to the client failed
    RetriesExhausted, // "timeout exit": ends the transfer, and the run when the client is the board
    Stopped, // the run ended while the transfer was going on
};

} // namespace boottool
