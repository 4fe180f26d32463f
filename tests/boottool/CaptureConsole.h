#pragma once

#include "boottool/Console.h"

#include <mutex>
#include <string>

namespace boottool {

// Records what the tool prints, each stream on its own and both in order.
class CaptureConsole : public Console
{
public:
    void Out(std::string_view text) override
    {
        const std::lock_guard lock(m_mutex);
        m_out += text;
        m_all += text;
        ++m_outWrites;
    }
    void Err(std::string_view text) override
    {
        const std::lock_guard lock(m_mutex);
        m_err += text;
        m_all += text;
    }
    std::string OutText() const
    {
        const std::lock_guard lock(m_mutex);
        return m_out;
    }
    std::string ErrText() const
    {
        const std::lock_guard lock(m_mutex);
        return m_err;
    }
    int OutWrites() const { return m_outWrites; }

private:
    mutable std::mutex m_mutex;
    std::string m_out;
    std::string m_err;
    std::string m_all;
    int m_outWrites = 0;
};

} // namespace boottool
