#include "SimulatedBoard.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace boottool {

namespace {

constexpr int kPollMs = 20;
constexpr int kXIntervalMs = 30;

std::uint32_t Le32(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

} // namespace

SimulatedBoard::SimulatedBoard(BoardScript script)
    : m_script(std::move(script))
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        return;
    }
    m_slavePath = ptsname(m_master);
    m_slaveHold = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    tcgetattr(m_slaveHold, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slaveHold, TCSANOW, &raw);
}

SimulatedBoard::~SimulatedBoard()
{
    Stop();
    if (m_slaveHold >= 0) {
        close(m_slaveHold);
    }
    if (m_master >= 0) {
        close(m_master);
    }
}

void SimulatedBoard::PowerOn(int powerOnDelayMs)
{
    m_thread = std::thread([this, powerOnDelayMs] { Run(powerOnDelayMs); });
}

BoardRecord SimulatedBoard::Stop()
{
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    const std::lock_guard lock(m_mutex);
    return m_record;
}

std::string SimulatedBoard::DumpPattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + 7) % 251);
    }
    return bytes;
}

void SimulatedBoard::Run(int powerOnDelayMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(powerOnDelayMs);
    while (!m_stop && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    if (RomPhase()) {
        LoaderPhase();
    }
}

bool SimulatedBoard::ReadByte(char& byte, int timeoutMs)
{
    pollfd entry{m_master, POLLIN, 0};
    if (poll(&entry, 1, timeoutMs) <= 0) {
        return false;
    }
    return read(m_master, &byte, 1) == 1;
}

bool SimulatedBoard::ReadExact(std::string& out, std::size_t size)
{
    out.resize(size);
    std::size_t done = 0;
    while (done < size && !m_stop) {
        pollfd entry{m_master, POLLIN, 0};
        if (poll(&entry, 1, kPollMs) <= 0) {
            continue;
        }
        const ssize_t got = read(m_master, out.data() + done, size - done);
        if (got <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return done == size;
}

void SimulatedBoard::Send(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size() && !m_stop) {
        const ssize_t put = write(m_master, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        pollfd entry{m_master, POLLOUT, 0};
        poll(&entry, 1, kPollMs);
    }
}

void SimulatedBoard::Prompt(const std::string& before)
{
    Send(before + m_script.promptNoise + m_script.prompt);
}

bool SimulatedBoard::RomPhase()
{
    // Say "X" until the tool answers with "Y".
    for (;;) {
        if (m_stop) {
            return false;
        }
        Send("X");
        char byte = 0;
        const auto next = std::chrono::steady_clock::now() + std::chrono::milliseconds(kXIntervalMs);
        bool answered = false;
        while (!answered && std::chrono::steady_clock::now() < next) {
            answered = ReadByte(byte, kPollMs) && byte == 'Y';
        }
        if (answered) {
            break;
        }
    }
    std::string count;
    if (!ReadExact(count, 4)) {
        return false;
    }
    std::string header;
    if (!ReadExact(header, std::size_t{Le32(count, 0)} * 4)) {
        return false;
    }
    if (header.size() < 12 || header.substr(header.size() - 4) != "boot") {
        return false;
    }
    const std::uint32_t sum = Le32(header, header.size() - 12);
    const std::uint32_t size = Le32(header, header.size() - 8);
    if (!m_script.sendGet) {
        return false;
    }
    Send("GET");
    for (int transfer = 0;; ++transfer) {
        std::string image;
        if (!ReadExact(image, size)) {
            return false;
        }
        std::uint32_t actual = 0;
        for (const char c : image) {
            actual += static_cast<std::uint8_t>(c);
        }
        {
            const std::lock_guard lock(m_mutex);
            m_record.image.assign(image.begin(), image.end());
            m_record.imageSumOk = actual == sum;
            ++m_record.imageTransfers;
        }
        if (transfer < m_script.romErrorsFirst) {
            Send("E");
            continue;
        }
        if (m_script.romAnswer != 'O') {
            Send(std::string(1, m_script.romAnswer));
            return false;
        }
        // The loader starts at once: its banner and prompt follow the "O" without a pause.
        Send("O" + m_script.banner + m_script.promptNoise + m_script.prompt);
        return true;
    }
}

void SimulatedBoard::LoaderPhase()
{
    std::string line;
    while (!m_stop) {
        char byte = 0;
        if (!ReadByte(byte, kPollMs)) {
            continue;
        }
        if (byte != '\n') {
            line += byte;
            continue;
        }
        {
            const std::lock_guard lock(m_mutex);
            m_record.commands.push_back(line);
        }
        Command(line);
        line.clear();
    }
}

void SimulatedBoard::Command(const std::string& line)
{
    const std::vector<std::string> words = Words(line);
    if (words.size() == 3 && words[0] == "serialdown") {
        std::string data;
        Send("\r\n~sta~");
        if (!ReadExact(data, std::strtoull(words[2].c_str(), nullptr, 10))) {
            return;
        }
        {
            const std::lock_guard lock(m_mutex);
            m_record.serialData.push_back(data);
        }
        Send("~fin~");
        Prompt("\r\nwrote " + std::to_string(data.size()) + " bytes\r\n");
    } else if (words.size() == 3 && words[0] == "serialdump") {
        const std::string data = DumpPattern(std::strtoull(words[2].c_str(), nullptr, 10));
        if (m_script.dumpStallAfter > 0 && m_script.dumpStallAfter < data.size()) {
            Send("~sta~" + data.substr(0, m_script.dumpStallAfter));
            return; // silent until stopped, as a board whose cable came off
        }
        Send("~sta~" + data + "~fin~");
        Prompt("\r\n");
    } else if (words.size() == 3 && words[0] == "config" && words[1] == "ip") {
        m_address = words[2];
        Prompt("\r\n");
    } else if (words.size() >= 5 && words[0] == "partition" && words[1] == "download") {
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        const std::string named = line.substr(open + 1, close - open - 1);
        const std::string file = m_script.fetchAnother.empty() ? named : m_script.fetchAnother;
        const std::string fetched = FetchByTftp(words[3], file);
        {
            const std::lock_guard lock(m_mutex);
            m_record.tftpFiles.push_back(fetched);
        }
        Prompt("\r\ndownload " + std::to_string(fetched.size()) + " bytes\r\n");
    } else if (line == "flash eraseall") {
        Prompt("\r\nerase all flash... done\r\n");
    } else {
        Prompt("\r\n");
    }
}

// A socket from the board's own address (as "config ip" set it) to the PC's TFTP server.
int SimulatedBoard::TftpSocket(const std::string& host, sockaddr_in& server) const
{
    const int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (!m_address.empty() && inet_pton(AF_INET, m_address.c_str(), &local.sin_addr) == 1) {
        bind(sock, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    }
    server.sin_family = AF_INET;
    server.sin_port = htons(m_script.tftpPort);
    inet_pton(AF_INET, host.c_str(), &server.sin_addr);
    return sock;
}

std::string SimulatedBoard::FetchByTftp(const std::string& host, const std::string& file)
{
    constexpr int kRequestTries = 5; // a request lost in a flood is sent again, as a loader does
    constexpr int kRequestWaitMs = 1000;
    constexpr int kDataWaitMs = 5000;
    sockaddr_in server{};
    const int sock = TftpSocket(host, server);
    std::string request("\0\1", 2);
    request += file + std::string("\0octet\0", 7);
    std::string data;
    std::uint16_t expected = 1;
    int requestsLeft = kRequestTries;
    for (int acked = 0;;) {
        if (expected == 1 && requestsLeft-- > 0) {
            sendto(sock, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&server), sizeof server);
        }
        pollfd entry{sock, POLLIN, 0};
        if (poll(&entry, 1, expected == 1 && requestsLeft > 0 ? kRequestWaitMs : kDataWaitMs) <= 0) {
            if (expected == 1 && requestsLeft > 0) {
                continue;
            }
            break;
        }
        char packet[600];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = recvfrom(sock, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 4) {
            break;
        }
        const auto opcode = static_cast<std::uint8_t>(packet[1]);
        const auto block = static_cast<std::uint16_t>((static_cast<std::uint8_t>(packet[2]) << 8)
                                                      | static_cast<std::uint8_t>(packet[3]));
        if (opcode == 5) {
            data = "ERROR " + std::to_string(block);
            break;
        }
        if (opcode != 3) {
            break;
        }
        if (block == expected) {
            data.append(packet + 4, static_cast<std::size_t>(got - 4));
            ++expected;
        }
        if (m_script.ackBlocks >= 0 && acked++ >= m_script.ackBlocks) {
            break; // gives up without a word, as a board that lost its link
        }
        const char ack[4] = {0, 4, packet[2], packet[3]};
        sendto(sock, ack, sizeof ack, 0, reinterpret_cast<const sockaddr*>(&from), length);
        if (got < 516) {
            break;
        }
    }
    close(sock);
    return data;
}

} // namespace boottool
