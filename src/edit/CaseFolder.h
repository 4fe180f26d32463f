#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace core {

class CharsetConverter;

// Turns names in the internal code page into keys that compare case-insensitively: every
// character with a lower-case form in that code page is replaced by it, the others stay. The
// keys are bytes of the same code page, so names still sort in its order (pinyin order for GBK).
// Built for the internal code page current at construction.
class CaseFolder
{
public:
    CaseFolder();
    ~CaseFolder();
    CaseFolder(const CaseFolder&) = delete;
    CaseFolder& operator=(const CaseFolder&) = delete;

    std::string Fold(std::string_view name);

private:
    void FoldCharacters(std::string_view name, std::string& key);
    // The lower-case form of a character in the internal code page, or nothing when it has none.
    const std::string& LowerBytes(char32_t lower);

    std::string m_charset;
    std::unique_ptr<CharsetConverter> m_decoder; // internal code page to UTF-32
    bool m_singleByte = true;
    std::array<std::uint8_t, 256> m_table{}; // single-byte code pages: every byte's folded byte
    std::unordered_map<char32_t, std::string> m_lowerCache; // multi-byte code pages
};

} // namespace core
