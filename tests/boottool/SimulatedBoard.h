#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <thread>
#include <vector>

namespace boottool {

// How the simulated board behaves.
struct BoardScript
{
    int romErrorsFirst = 0; // answer "E" to this many image transfers before "O"
    char romAnswer = 'O'; // the final answer of the boot ROM
    bool sendGet = true; // false: the ROM never says "GET"
    std::string banner = "\r\nKV loader 1.0 (simulated)\r\n";
    std::string prompt = "boot> ";
    std::string promptNoise; // printed right before every prompt (e.g. "b" makes "bboot> ")
    std::uint16_t tftpPort = 2000; // where netdown fetches from
    std::string fetchAnother; // fetch this file instead of the one named (it is refused)
    int ackBlocks = -1; // stop acknowledging after this many blocks (-1: never), then print the prompt
    std::size_t dumpStallAfter = 0; // serialdump: send this many bytes (0: all), then fall silent
};

// What the board received.
struct BoardRecord
{
    std::vector<std::uint8_t> image; // the boot loader image (last transfer)
    bool imageSumOk = false; // sum and size in the header matched the image
    int imageTransfers = 0;
    std::vector<std::string> commands; // loader command lines, without the line feed
    std::vector<std::string> serialData; // data of each serialdown
    std::vector<std::string> tftpFiles; // each file fetched by netdown (its bytes, or "ERROR <code>")
};

// A receiver on a pseudo-terminal: plays the boot ROM ("X", header, "GET", image, "O"/"E") and then the
// loader (prompt, "~sta~"/"~fin~" around serial transfers, TFTP fetch for "partition download").
class SimulatedBoard
{
public:
    explicit SimulatedBoard(BoardScript script = {});
    ~SimulatedBoard();
    SimulatedBoard(const SimulatedBoard&) = delete;
    SimulatedBoard& operator=(const SimulatedBoard&) = delete;

    // The device path the tool opens with -d.
    const std::string& DevicePath() const { return m_slavePath; }
    // Starts the board (it says "X" until the tool answers); `powerOnDelayMs` keeps it quiet first.
    void PowerOn(int powerOnDelayMs = 0);
    // Stops the board and returns what it received.
    BoardRecord Stop();

    // Bytes serialdump sends for a length: a fixed pattern.
    static std::string DumpPattern(std::size_t size);

private:
    void Run(int powerOnDelayMs);
    [[nodiscard]] bool RomPhase();
    void LoaderPhase();
    void Command(const std::string& line);
    [[nodiscard]] bool ReadExact(std::string& out, std::size_t size);
    [[nodiscard]] bool ReadByte(char& byte, int timeoutMs);
    void Send(const std::string& bytes);
    void Prompt(const std::string& before);
    std::string FetchByTftp(const std::string& host, const std::string& file);
    [[nodiscard]] int TftpSocket(const std::string& host, sockaddr_in& server) const;

    BoardScript m_script;
    int m_master = -1;
    int m_slaveHold = -1; // keeps the line open while the tool is not attached
    std::string m_slavePath;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    BoardRecord m_record;
    std::string m_address; // given by "config ip": the board's requests come from it
};

} // namespace boottool
