#include "boottool/tftp/ProgressPrinter.h"

namespace boottool {

ProgressPrinter::ProgressPrinter(Console& console)
    : m_console(console)
{ }

void ProgressPrinter::Started(const std::string& file, std::uint64_t size)
{
    m_progress.emplace(size);
    m_console.Out(Format("\nstart to send %s to stb board by tftp, %llu bytes.\n",
                         file.c_str(),
                         static_cast<unsigned long long>(size))
                  + m_progress->Reach(0));
    m_lineOpen = true;
}

void ProgressPrinter::Acknowledged(std::uint64_t bytes)
{
    if (m_progress) {
        const std::string steps = m_progress->Reach(bytes);
        if (!steps.empty()) {
            m_console.Out(steps);
            m_lineOpen = true;
        }
    }
}

void ProgressPrinter::Finished(std::uint64_t bytes)
{
    if (!m_progress) {
        return;
    }
    // One piece, so the loader's prompt that follows the last acknowledgement cannot land inside it.
    m_console.Out(m_progress->Finish()
                  + Format("\nsend all ok. count = %llu.\n", static_cast<unsigned long long>(bytes)));
    m_lineOpen = false;
}

void ProgressPrinter::BeforeMessage()
{
    if (m_lineOpen) {
        m_console.Out("\n");
        m_lineOpen = false;
    }
}

} // namespace boottool
