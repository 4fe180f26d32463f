#include "excel/xml/XmlEncoding.h"
#include "excel/xml/XmlNodeIndex.h"
#include "excel/xml/XmlParser.h"
#include "excel/xml/XmlResultLog.h"

#include <cstddef>
#include <cstdint>
#include <string>

using core::DecodeDocumentBytes;
using core::EncodeDocumentText;
using core::ParseXml;
using core::XmlBom;
using core::XmlInternalCodec;
using core::XmlNodeIndex;
using core::XmlResultLog;

// The file-reading path without the file: byte-order marks, declarations, UTF-8 detection,
// UTF-16/32 and conversions, then the parse and the encoding back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const XmlInternalCodec latin1(28591, "ISO-8859-1");
    static const XmlInternalCodec gbk(936, "GBK");
    for (const XmlInternalCodec* codec : {&latin1, &gbk}) {
        XmlResultLog log;
        XmlBom bom = XmlBom::None;
        std::string text
            = DecodeDocumentBytes(std::string(reinterpret_cast<const char*>(data), size), bom, log, *codec);
        XmlNodeIndex index;
        ParseXml(text, index, log, *codec);
        std::string storage;
        EncodeDocumentText(text, bom, log, *codec, storage);
        if (log.Text().size() > XmlResultLog::kLimit + 1000) {
            __builtin_trap(); // the log stays bounded
        }
    }
    return 0;
}
