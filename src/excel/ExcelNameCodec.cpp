#include "excel/ExcelNameCodec.h"

#include "platform/HexDigits.h"

#include <algorithm>

namespace core {

namespace {

constexpr std::size_t kGroupSize = 4; // "\xHH"
constexpr std::size_t kMinEscapedSize = 2 + kGroupSize;

// One "\xHH" group; -1 when it breaks the form.
int DecodeGroup(std::string_view group)
{
    if (group[0] != '\\' || group[1] != 'x') {
        return -1;
    }
    const int high = platform::HexDigitValue(group[2]);
    const int low = platform::HexDigitValue(group[3]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

bool IsControlByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

namespace ExcelNameCodec {

bool LooksEscaped(std::string_view text)
{
    return text.size() >= kMinEscapedSize && (text.size() - 2) % kGroupSize == 0 && text.front() == '"'
        && text.back() == '"';
}

bool Parse(std::string_view text, std::uint8_t* buffer, std::size_t size)
{
    if (text.empty()) {
        return false;
    }
    if (LooksEscaped(text)) {
        const std::size_t groups = (text.size() - 2) / kGroupSize;
        for (std::size_t i = 0; i < groups && i < size; ++i) {
            const int byte = DecodeGroup(text.substr(1 + i * kGroupSize, kGroupSize));
            if (byte < 0) {
                return false;
            }
            buffer[i] = static_cast<std::uint8_t>(byte);
        }
        return true;
    }
    const std::size_t copied = std::min(text.size(), size);
    std::copy_n(text.begin(), copied, buffer);
    std::fill(buffer + copied, buffer + size, std::uint8_t{0});
    return true;
}

std::string Encode(std::string_view name)
{
    if (!name.empty() && !LooksEscaped(name) && std::none_of(name.begin(), name.end(), IsControlByte)) {
        return std::string(name);
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    // An empty name still needs one group, or the cell would read as absent.
    const std::string_view bytes = name.empty() ? std::string_view("\0", 1) : name;
    std::string text = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += "\\x";
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    text += '"';
    return text;
}

} // namespace ExcelNameCodec

} // namespace core
