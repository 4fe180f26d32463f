#include "SampleChannels.h"

#include "common/CodePage.h"
#include "db/CProgDb.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace core {

namespace {

// A fixed sequence, so every run builds the same database.
class Sequence
{
public:
    std::uint32_t Next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(m_state >> 32);
    }

private:
    std::uint64_t m_state = 0x5EEDu;
};

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

std::uint32_t Num(const std::string& text)
{
    return static_cast<std::uint32_t>(std::strtol(text.c_str(), nullptr, 10));
}

void AddSatellite(CProgDb& db, const std::vector<std::string>& f, Sequence& seq)
{
    auto sat = std::make_unique<CSatNode>();
    sat->SetName(Utf8ToInternal(f.at(1)));
    const auto position = static_cast<std::int32_t>(Num(f.at(2)));
    sat->SetLongitude(static_cast<std::uint32_t>(std::abs(position)));
    sat->SetDirection(position < 0 ? 1 : 0);
    sat->Record().SetWord(16, seq.Next());
    sat->Record().SetWord(24, seq.Next());
    sat->SetDiSEqC12(seq.Next());
    sat->SetTone22K(seq.Next());
    sat->SetLnbType(seq.Next());
    sat->SetLocalFre1(seq.Next() % 10);
    sat->SetLocalFre2(seq.Next() % 16); // indexes above 9 are written as 5150 and read back as 0
    // Every fourth satellite "T", every seventh "S": both kinds must survive the trip.
    const std::uint32_t n = db.Sats().Count();
    sat->SetSelect(n % 7 == 6 ? 1 : n % 4 == 3 ? 2 : 0);
    db.Sats().Add(std::move(sat));
}

void AddTransponder(CProgDb& db, const std::vector<std::string>& f)
{
    auto tp = std::make_unique<CTpNode>(InvalidId, db.Sats().LastId());
    tp->SetFrequency(Num(f.at(1)));
    tp->SetSymbolRate(Num(f.at(2)));
    tp->SetPolar(Num(f.at(3)));
    db.Tps().Add(std::move(tp));
}

void AddProgram(CProgDb& db, const std::vector<std::string>& f, Sequence& seq)
{
    auto prog = std::make_unique<CProgNode>(InvalidId, db.Tps().LastId());
    prog->SetProgName(Utf8ToInternal(f.at(1)));
    prog->SetServiceId(Num(f.at(2)));
    prog->SetVPID(Num(f.at(3)));
    prog->SetAPID(Num(f.at(4)));
    prog->SetPCRPID(Num(f.at(5)));
    prog->SetScramble(Num(f.at(6)));
    prog->SetAvType(Num(f.at(7)) == 2 ? 1 : 0); // radio
    prog->SetPmtPid(seq.Next());
    prog->SetFavType(seq.Next());
    prog->SetTrack(seq.Next());
    prog->SetLock(seq.Next());
    prog->SetHide(seq.Next());
    prog->SetSkip(seq.Next());
    prog->SetTunerSel(seq.Next());
    prog->SetVideoType(seq.Next());
    prog->SetAudioType(seq.Next());
    db.Progs().Add(std::move(prog));
}

} // namespace

void LoadSampleChannels(CProgDb& db)
{
    std::ifstream file(TEST_DATA_DIR "/excel/channels.tsv");
    if (!file) {
        throw std::runtime_error("channels.tsv not found");
    }
    Sequence seq;
    std::string line;
    while (std::getline(file, line)) {
        const std::vector<std::string> f = SplitTabs(line);
        if (f.empty()) {
            continue;
        }
        if (f[0] == "S") {
            AddSatellite(db, f, seq);
        } else if (f[0] == "T") {
            AddTransponder(db, f);
        } else if (f[0] == "P") {
            AddProgram(db, f, seq);
        }
    }
}

namespace {

std::string Hex(const std::string& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += kDigits[static_cast<unsigned char>(c) >> 4];
        out += kDigits[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

std::uint32_t Lnb(std::uint32_t index, bool asImported)
{
    return asImported && index > 9 ? 0 : index;
}

void DescribeSat(std::ostringstream& out, const CSatNode& sat, bool asImported)
{
    out << "S " << Hex(sat.Name()) << " sel=" << sat.Select() << " lon=" << sat.Longitude()
        << " lnb=" << Lnb(sat.LocalFre1(), asImported) << "/" << Lnb(sat.LocalFre2(), asImported)
        << " 12v=" << sat.Switch12V() << " 22k=" << sat.Tone22K() << " diseqc=" << sat.DiSEqC() << "/" << sat.DiSEqC12()
        << " dir=" << sat.Direction() << " lnbtype=" << sat.LnbType() << " motor=" << sat.DisEqCMotor()
        << " tuner=" << sat.TunerSel() << " v=" << sat.VideoType() << " a=" << sat.AudioType() << "\n";
}

void DescribeProg(std::ostringstream& out, const CProgNode& p, bool asImported)
{
    const std::string name = asImported ? p.ProgName().substr(0, 41) : p.ProgName();
    out << "    P " << Hex(name) << " v=" << p.VPID() << " a=" << p.APID() << " pcr=" << p.PCRPID()
        << " scr=" << p.Scramble() << " hide=" << p.Hide() << " track=" << p.Track() << " sid=" << p.ServiceId()
        << " pmt=" << p.PmtPid() << " av=" << p.AvType() << " lock=" << p.Lock() << " skip=" << p.Skip()
        << " fav=" << p.FavType() << " tuner=" << p.TunerSel() << " vt=" << p.VideoType() << " at=" << p.AudioType()
        << "\n";
}

} // namespace

std::string DescribeTree(const CProgDb& db, bool asImported)
{
    std::ostringstream out;
    for (const CSatNode& sat : db.Sats()) {
        DescribeSat(out, sat, asImported);
        if (asImported && sat.Select() == 1) {
            continue;
        }
        for (const CTpNode& tp : db.Tps()) {
            if (tp.ParentId() != sat.Id()) {
                continue;
            }
            out << "  T " << tp.Frequency() << " " << PolarText(tp.Polar()) << " " << tp.SymbolRate() << "\n";
            if (asImported && sat.Select() == 2) {
                continue;
            }
            for (const CProgNode& prog : db.Progs()) {
                if (prog.ParentId() == tp.Id()) {
                    DescribeProg(out, prog, asImported);
                }
            }
        }
    }
    return out.str();
}

std::string FirstDifference(const std::string& expected, const std::string& actual)
{
    if (expected == actual) {
        return {};
    }
    std::istringstream a(expected);
    std::istringstream b(actual);
    std::string lineA;
    std::string lineB;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB) {
            return "descriptions differ only in line ends";
        }
        if (!moreA || !moreB || lineA != lineB) {
            return "line " + std::to_string(line) + "\n expected: " + (moreA ? lineA : "(end)")
                + "\n actual:   " + (moreB ? lineB : "(end)");
        }
    }
}

} // namespace core
