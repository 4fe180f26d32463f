#include "cli/JsonDump.h"

#include "common/CodePage.h"
#include "db/CProgDb.h"

#include <cstdio>
#include <string>
#include <string_view>

using core::CNodeList;
using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::InternalToUtf8;
using core::ProgRecord;
using core::SatRecord;
using core::StoreLe32;

namespace cli {

namespace {

std::string Hex(const std::uint8_t* bytes, std::size_t size)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        hex.push_back(kDigits[bytes[i] >> 4]);
        hex.push_back(kDigits[bytes[i] & 0x0F]);
    }
    return hex;
}

std::string Hex(std::string_view text)
{
    return Hex(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

std::string Quoted(std::string_view utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

// Writes "key":value pairs separated by commas.
class JsonObject
{
public:
    explicit JsonObject(std::ostream& out)
        : m_out(out)
    {
        m_out << '{';
    }
    ~JsonObject() { m_out << '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    JsonObject& Number(const char* key, long long value)
    {
        Key(key) << value;
        return *this;
    }
    JsonObject& Text(const char* key, std::string_view utf8)
    {
        Key(key) << Quoted(utf8);
        return *this;
    }

private:
    std::ostream& Key(const char* key)
    {
        if (!m_first) {
            m_out << ',';
        }
        m_first = false;
        return m_out << '"' << key << "\":";
    }
    std::ostream& m_out;
    bool m_first = true;
};

void WriteSatellite(const CSatNode& s, std::ostream& out)
{
    const std::string name = s.Name();
    JsonObject(out)
        .Number("Id", s.Id())
        .Number("ParentId", s.ParentId())
        .Number("Select", s.Select())
        .Text("Name", InternalToUtf8(name))
        .Text("NameHex", Hex(name))
        .Number("Longitude", s.Longitude())
        .Number("LocalFre1", s.LocalFre1())
        .Number("LocalFre2", s.LocalFre2())
        .Number("Switch12V", s.Switch12V())
        .Number("Tone22K", s.Tone22K())
        .Number("DiSEqC", s.DiSEqC())
        .Number("DiSEqC12", s.DiSEqC12())
        .Number("Direction", s.Direction())
        .Number("LnbType", s.LnbType())
        .Number("DisEqCMotor", s.DisEqCMotor())
        .Number("TunerSel", s.TunerSel())
        .Number("VideoType", s.VideoType())
        .Number("AudioType", s.AudioType())
        .Number("FirstTpIndex", s.FirstTpIndex())
        .Number("TpCount", s.TpCount())
        .Text("Record", Hex(s.Record().Bytes().data(), SatRecord::kSize));
}

void WriteTransponder(const CTpNode& t, std::ostream& out)
{
    std::uint8_t word[4];
    StoreLe32(word, t.TpRecord());
    JsonObject(out)
        .Number("Id", t.Id())
        .Number("ParentId", t.ParentId())
        .Number("Frequency", t.Frequency())
        .Number("Polar", t.Polar())
        .Number("SymbolRate", t.SymbolRate())
        .Number("ExtraFlag", t.ExtraFlag())
        .Text("Record", Hex(word, sizeof word));
}

void WriteProgram(const CProgNode& p, std::ostream& out)
{
    const std::string name = p.ProgName();
    JsonObject(out)
        .Number("Id", p.Id())
        .Number("ParentId", p.ParentId())
        .Text("ProgName", InternalToUtf8(name))
        .Text("ProgNameHex", Hex(name))
        .Number("SatRef", p.SatRef())
        .Number("TpRef", p.TpRef())
        .Number("Track", p.Track())
        .Number("FavType", p.FavType())
        .Number("ServiceId", p.ServiceId())
        .Number("AvType", p.AvType())
        .Number("Scramble", p.Scramble())
        .Number("Lock", p.Lock())
        .Number("VPID", p.VPID())
        .Number("APID", p.APID())
        .Number("VideoType", p.VideoType())
        .Number("AudioType", p.AudioType())
        .Number("PmtPid", p.PmtPid())
        .Number("PCRPID", p.PCRPID())
        .Number("Hide", p.Hide())
        .Number("Skip", p.Skip())
        .Number("TunerSel", p.TunerSel())
        .Text("Record", Hex(p.Record().Bytes().data(), ProgRecord::kSize));
}

template <class TNode, class Writer>
void WriteArray(const CNodeList<TNode>& list, std::ostream& out, Writer write)
{
    out << '[';
    bool first = true;
    for (const TNode& node : list) {
        if (!first) {
            out << ",\n";
        }
        first = false;
        write(node, out);
    }
    out << ']';
}

} // namespace

void WriteJsonDump(const CProgDb& db, std::ostream& out)
{
    out << "{\"satellites\":";
    WriteArray(db.Sats(), out, WriteSatellite);
    out << ",\n\"transponders\":";
    WriteArray(db.Tps(), out, WriteTransponder);
    out << ",\n\"programs\":";
    WriteArray(db.Progs(), out, WriteProgram);
    out << "}\n";
}

} // namespace cli
