#include "boottool/UnitProgress.h"

#include "boottool/Console.h"

namespace boottool {

namespace {

constexpr std::uint64_t kUnitsPerTransfer = 100;

std::string Step(std::uint64_t number)
{
    return Format("\b\b\b%02llu%%", static_cast<unsigned long long>(number));
}

} // namespace

UnitProgress::UnitProgress(std::uint64_t total)
    : m_unit(total / kUnitsPerTransfer + 1)
    , m_lastNumber(total / m_unit)
{ }

std::string UnitProgress::Reach(std::uint64_t done)
{
    std::string text;
    while (m_next <= m_lastNumber && m_next * m_unit <= done) {
        text += Step(m_next++);
    }
    return text;
}

std::string UnitProgress::Finish()
{
    std::string text;
    while (m_next <= m_lastNumber) {
        text += Step(m_next++);
    }
    return text + Step(kUnitsPerTransfer);
}

} // namespace boottool
