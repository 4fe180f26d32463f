#include "platform/WideText.h"

#include <windows.h>

namespace platform {

namespace {

[[nodiscard]] std::wstring WidenFrom(unsigned codePage, unsigned long flags, std::string_view text)
{
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), needed);
    return wide;
}

} // namespace

std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty()) {
        return {};
    }
    std::wstring wide = WidenFrom(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
    return wide.empty() ? WidenFrom(CP_ACP, 0, utf8) : wide;
}

std::string Narrow(std::wstring_view wide)
{
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), needed, nullptr, nullptr);
    return text;
}

} // namespace platform
