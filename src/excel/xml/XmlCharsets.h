#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// Code-page numbers with a meaning of their own here.
namespace XmlCodePage {
constexpr int Unknown = -1;
constexpr int Utf7 = 65000;
constexpr int Utf8 = 65001;
constexpr int Utf16Le = 1200;
constexpr int Utf16Be = 1201;
constexpr int Utf32 = 65005; // converted by the engine itself
constexpr int Utf32Le = 12000;
constexpr int Utf32Be = 12001;
} // namespace XmlCodePage

// The Windows code page of a character-set name (any case): "gbk" 936, "big5" 950, "utf-8" 65001.
// "UTF-32" is 65005; an empty name is the internal code page; a name of 100 characters or more, or
// one not in the table, is XmlCodePage::Unknown.
int CodePageForCharset(std::string_view name);

// iconv's name for a code page, or an empty string when there is none.
std::string IconvNameForCodePage(int codePage);

// Whether conversion into this code page cannot tell lost characters from converted ones.
bool CodePageHidesLoss(int codePage);

// Number of names in the table.
std::size_t CharsetNameCount();

} // namespace core
