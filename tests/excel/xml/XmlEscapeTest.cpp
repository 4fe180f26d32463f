#include "excel/xml/XmlEscape.h"
#include "common/CodePage.h"
#include "excel/xml/XmlCharsets.h"
#include "excel/xml/XmlEncoding.h"
#include "excel/xml/XmlEntities.h"

#include <gtest/gtest.h>

namespace core {

namespace {

TEST(XmlEscape, OutputEscaping)
{
    struct Case
    {
        std::string_view raw, content, attribute;
    };
    const Case cases[] = {
        {"a<b", "a&lt;b", "a&lt;b"},
        {"x & y > z", "x &amp; y &gt; z", "x &amp; y &gt; z"},
        {"say \"hi\" it's", "say \"hi\" it's", "say &quot;hi&quot; it&apos;s"},
        {"\xC4\xE3 plain", "\xC4\xE3 plain", "\xC4\xE3 plain"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeContent(c.raw), c.content);
        EXPECT_EQ(EscapeAttribute(c.raw), c.attribute);
    }
    EXPECT_EQ(WrapCData("a]]>b"), "<![CDATA[a]]]]><![CDATA[>b]]>");
    EXPECT_EQ(WrapCData("]]>]]>"), "<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>");
    EXPECT_EQ(WrapCData("plain"), "<![CDATA[plain]]>");
}

TEST(XmlEscape, ReferenceDecodingIntoLatin1)
{
    const XmlInternalCodec latin1(28591, "ISO-8859-1");
    struct Case
    {
        std::string_view in, out;
    };
    const Case cases[] = {
        {"&#65;", "A"},
        {"&#x41;&#X42;", "AB"},
        {"&AMP;&amp;&Amp;", "&&&"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"&eacute;&Eacute;&nbsp;&yuml;", "\xE9\xC9\xA0\xFF"},
        {"&unknown;", "&unknown;"},
        {"&euro;", "&euro;"}, // no exact form in ISO-8859-1
        {"&#8364;", "&#8364;"},
        {"&#0;&#xD800;&#x110000;", "&#0;&#xD800;&#x110000;"},
        {"&#65", "&#65"},
        {"&#00000065;", "A"}, // 9 characters between "&" and ";"
        {"&#000000065;", "&#000000065;"}, // 10: too long
        {"&;&#;&#x;& amp;", "&;&#;&#x;& amp;"},
        {"a&b;c&amp", "a&b;c&amp"},
        {"&amp;amp;", "&amp;"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeReferences(c.in, latin1), c.out) << c.in;
    }
}

TEST(XmlEscape, ReferenceDecodingIntoDoubleByteCodePage)
{
    const XmlInternalCodec gbk(936, "GBK");
    EXPECT_EQ(DecodeReferences("&#20320;&#22909;&#65;", gbk),
              "\xC4\xE3\xBA\xC3"
              "A");
    EXPECT_EQ(DecodeReferences("&#233;", gbk), "\xA8\xA6"); // e acute exists in GBK
    EXPECT_EQ(DecodeReferences("&#1488;", gbk), "&#1488;") << "Hebrew alef has no GBK form";
}

TEST(XmlEntities, TableHoldsHtmlNamesAndApos)
{
    EXPECT_EQ(EntityCount(), 253u);
    struct Case
    {
        std::string_view name;
        std::uint32_t codePoint;
    };
    const Case cases[] = {{"nbsp", 160},
                          {"yuml", 255},
                          {"Yuml", 376},
                          {"fnof", 402},
                          {"Alpha", 913},
                          {"thetasym", 977},
                          {"hArr", 8660},
                          {"harr", 8596},
                          {"sdot", 8901},
                          {"diams", 9830},
                          {"euro", 8364},
                          {"apos", 39},
                          {"QUOT", 34},
                          {"rsaquo", 8250},
                          {"nosuch", 0},
                          {"", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(LookupEntity(c.name), c.codePoint) << c.name;
    }
}

TEST(XmlCharsets, NamesToCodePages)
{
    struct Case
    {
        std::string_view name;
        int codePage;
    };
    const Case cases[] = {{"gbk", 936},
                          {"GB2312", 936},
                          {"big5", 950},
                          {"iso-8859-1", 28591},
                          {"Latin1", 28591},
                          {"ascii", 20127},
                          {"US-ASCII", 20127},
                          {"ksc_5601", 949},
                          {"euc-kr", 51949},
                          {"gb18030", 54936},
                          {"UTF-8", 65001},
                          {"utf-16", 1200},
                          {"UTF-16BE", 1201},
                          {"UTF-32", 65005},
                          {"shift_jis", 932},
                          {"windows-1251", 1251},
                          {"koi8-r", 20866},
                          {"no-such-set", XmlCodePage::Unknown}};
    for (const Case& c : cases) {
        EXPECT_EQ(CodePageForCharset(c.name), c.codePage) << c.name;
    }
    // The empty name is the internal code page.
    EXPECT_EQ(CodePageForCharset(""), CodePageForCharset(InternalCodePage().charset));
    EXPECT_NE(CodePageForCharset(""), XmlCodePage::Unknown);
    // Names of 100 characters or more are unknown, even when they would otherwise match.
    EXPECT_EQ(CodePageForCharset(std::string(100, 'a')), XmlCodePage::Unknown);
    EXPECT_GE(CharsetNameCount(), 365u);
}

TEST(XmlCharsets, LossReportingCodePages)
{
    for (const int cp : {50220, 50221, 50222, 50225, 50227, 50229, 52936, 54936, 57002, 57011, 65000, 65001}) {
        EXPECT_TRUE(CodePageHidesLoss(cp)) << cp;
    }
    for (const int cp : {936, 1252, 28591, 20127, 50223, 57012}) {
        EXPECT_FALSE(CodePageHidesLoss(cp)) << cp;
    }
}

} // namespace

} // namespace core
