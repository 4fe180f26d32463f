#include "common/CharsetConverter.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

namespace core {

class CharsetConverter::Engine
{
public:
    Engine(const std::string& from, const std::string& to)
        : m_cd(iconv_open(to.c_str(), from.c_str()))
    { }
    ~Engine()
    {
        if (Valid()) {
            iconv_close(m_cd);
        }
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    [[nodiscard]] bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    [[nodiscard]] Step Convert(std::string_view input, std::string& output)
    {
        char* in = const_cast<char*>(input.data()); // iconv takes a non-const pointer but never writes
        std::size_t inLeft = input.size();
        Step step;
        while (inLeft > 0) {
            char* out = m_buffer.data();
            std::size_t outLeft = m_buffer.size();
            const std::size_t rc = iconv(m_cd, &in, &inLeft, &out, &outLeft);
            output.append(m_buffer.data(), m_buffer.size() - outLeft);
            step.consumed = input.size() - inLeft;
            if (rc != static_cast<std::size_t>(-1)) {
                step.inexact = step.inexact || rc > 0; // iconv counts irreversible conversions
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            step.outcome = errno == EINVAL ? Outcome::Incomplete : Outcome::Stopped;
            return step;
        }
        return step;
    }

    void Finish(std::string& output)
    {
        char* out = m_buffer.data();
        std::size_t outLeft = m_buffer.size();
        iconv(m_cd, nullptr, nullptr, &out, &outLeft);
        output.append(m_buffer.data(), m_buffer.size() - outLeft);
    }

    void Reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
    std::array<char, 4096> m_buffer{};
};

CharsetConverter::CharsetConverter(const std::string& from, const std::string& to)
    : m_engine(std::make_unique<Engine>(from, to))
{ }

CharsetConverter::~CharsetConverter() = default;

bool CharsetConverter::Valid() const
{
    return m_engine->Valid();
}

CharsetConverter::Step CharsetConverter::Convert(std::string_view input, std::string& output)
{
    return m_engine->Convert(input, output);
}

void CharsetConverter::Finish(std::string& output)
{
    m_engine->Finish(output);
}

void CharsetConverter::Reset()
{
    m_engine->Reset();
}

bool CharsetKnown(const std::string& charset)
{
    return CharsetConverter("UTF-8", charset).Valid() && CharsetConverter(charset, "UTF-8").Valid();
}

std::string LocaleCharset()
{
    const locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) {
        return {};
    }
    std::string codeset = nl_langinfo_l(CODESET, loc);
    freelocale(loc);
    return codeset;
}

} // namespace core
