#include "boottool/Win32SerialPort.h"

#include "platform/WideText.h"
#include "platform/Win32Error.h"

#include <windows.h>

namespace boottool {

namespace {

// A read waits at most this long at once, so a wait without limit is a loop of such reads.
constexpr unsigned long kLongestReadMs = 1000;

[[nodiscard]] bool MeansGone(DWORD error)
{
    // An unplugged USB adapter answers with one of these.
    return error == ERROR_BAD_COMMAND || error == ERROR_DEVICE_REMOVED || error == ERROR_GEN_FAILURE
        || error == ERROR_OPERATION_ABORTED || error == ERROR_BROKEN_PIPE;
}

} // namespace

Win32SerialPort::~Win32SerialPort()
{
    if (m_open) {
        CloseHandle(m_handle);
    }
}

bool Win32SerialPort::Open(const std::string& path)
{
    m_handle = CreateFileW(platform::Widen(path).c_str(),
                           GENERIC_READ | GENERIC_WRITE,
                           0,
                           nullptr,
                           OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    m_open = m_handle != INVALID_HANDLE_VALUE;
    if (!m_open) {
        m_lastError = platform::Win32ErrorText(GetLastError());
    }
    return m_open;
}

bool Win32SerialPort::Configure()
{
    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!GetCommState(m_handle, &settings)) {
        return Fail() == PortStatus::Ok;
    }
    settings.BaudRate = CBR_115200;
    settings.ByteSize = 8;
    settings.Parity = NOPARITY;
    settings.StopBits = ONESTOPBIT;
    settings.fBinary = TRUE;
    settings.fParity = FALSE;
    settings.fOutxCtsFlow = FALSE;
    settings.fOutxDsrFlow = FALSE;
    settings.fDtrControl = DTR_CONTROL_ENABLE;
    settings.fRtsControl = RTS_CONTROL_ENABLE;
    settings.fDsrSensitivity = FALSE;
    settings.fOutX = FALSE;
    settings.fInX = FALSE;
    settings.fErrorChar = FALSE;
    settings.fNull = FALSE;
    settings.fAbortOnError = FALSE;
    if (!SetCommState(m_handle, &settings)) {
        return Fail() == PortStatus::Ok;
    }
    // Bytes left from before the run (an earlier session, a board already talking) would confuse the waits.
    PurgeComm(m_handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    return true;
}

bool Win32SerialPort::SetTimeouts(const Timeouts& timeouts)
{
    if (timeouts == m_timeouts) {
        return true;
    }
    // A read returns what is there at once, and else waits for the first byte up to readConstant.
    COMMTIMEOUTS port{};
    port.ReadIntervalTimeout = MAXDWORD;
    port.ReadTotalTimeoutMultiplier = MAXDWORD;
    port.ReadTotalTimeoutConstant = timeouts.readConstant;
    port.WriteTotalTimeoutMultiplier = 0;
    port.WriteTotalTimeoutConstant = timeouts.writeConstant;
    if (!SetCommTimeouts(m_handle, &port)) {
        return false;
    }
    m_timeouts = timeouts;
    return true;
}

PortStatus Win32SerialPort::Fail()
{
    const DWORD error = GetLastError();
    m_lastError = platform::Win32ErrorText(error);
    return MeansGone(error) ? PortStatus::Closed : PortStatus::Error;
}

PortStatus Win32SerialPort::Read(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs)
{
    received = 0;
    const bool forever = timeoutMs == kWaitForever;
    unsigned long left = forever ? 0 : static_cast<unsigned long>(timeoutMs < 0 ? 0 : timeoutMs);
    const DWORD size = static_cast<DWORD>(buffer.size() < MAXDWORD ? buffer.size() : MAXDWORD - 1);
    for (;;) {
        // A zero constant with MAXDWORD for the others would wait without limit; 1 ms is the shortest wait.
        const unsigned long now = forever ? kLongestReadMs : (left < kLongestReadMs ? left : kLongestReadMs);
        if (!SetTimeouts({now == 0 ? 1 : now, m_timeouts.writeConstant})) {
            return Fail();
        }
        DWORD got = 0;
        if (!ReadFile(m_handle, buffer.data(), size, &got, nullptr)) {
            return Fail();
        }
        if (got > 0) {
            received = got;
            return PortStatus::Ok;
        }
        if (!forever) {
            left -= now < left ? now : left;
            if (left == 0) {
                return PortStatus::Timeout;
            }
        }
    }
}

PortStatus Win32SerialPort::Write(std::span<const std::uint8_t> data, int timeoutMs)
{
    const unsigned long limit
        = timeoutMs == kWaitForever ? 0 : static_cast<unsigned long>(timeoutMs < 1 ? 1 : timeoutMs);
    if (!SetTimeouts({m_timeouts.readConstant, limit})) {
        return Fail();
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const std::size_t rest = data.size() - done;
        const DWORD chunk = static_cast<DWORD>(rest < 0x10000 ? rest : 0x10000);
        DWORD put = 0;
        if (!WriteFile(m_handle, data.data() + done, chunk, &put, nullptr)) {
            return Fail();
        }
        if (put == 0) {
            return PortStatus::Timeout; // the line took nothing within the time-out
        }
        done += put;
    }
    return PortStatus::Ok;
}

PortStatus Win32SerialPort::Drain()
{
    return FlushFileBuffers(m_handle) ? PortStatus::Ok : Fail();
}

} // namespace boottool
