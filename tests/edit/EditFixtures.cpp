#include "EditFixtures.h"

namespace core {

std::int32_t AddSat(CProgDb& db, const std::string& name)
{
    auto sat = std::make_unique<CSatNode>();
    sat->SetName(name);
    return db.Sats().Add(std::move(sat));
}

std::int32_t AddTp(CProgDb& db, std::int32_t sat, std::uint32_t frequency, std::uint32_t polar)
{
    auto tp = std::make_unique<CTpNode>(InvalidId, sat);
    tp->SetFrequency(frequency);
    tp->SetPolar(polar);
    tp->SetSymbolRate(27500);
    return db.Tps().Add(std::move(tp));
}

std::int32_t AddProg(CProgDb& db, std::int32_t tp, const std::string& name, std::uint32_t serviceId)
{
    auto prog = std::make_unique<CProgNode>(InvalidId, tp);
    prog->SetProgName(name);
    prog->SetServiceId(serviceId);
    return db.Progs().Add(std::move(prog));
}

void BuildSampleDb(CProgDb& db)
{
    db.Clear();
    AddSat(db, "Astra");
    AddSat(db, "hotbird");
    AddSat(db, "\xC9z\xE9");
    db.Sats().Find(0)->SetLocalFre1(3);
    db.Sats().Find(1)->SetLocalFre1(9);
    db.Sats().Find(2)->SetLocalFre1(12); // outside the table: shown and sorted as 5150
    AddTp(db, 0, 11000);
    AddTp(db, 1, 11000);
    AddTp(db, 0, 11000);
    db.Tps().Find(2)->SetExtraFlag(1);
    AddTp(db, 2, 12000, 1);
    AddTp(db, 1, 10800, 1);
    const struct
    {
        std::int32_t tp;
        const char* name;
        std::uint32_t serviceId;
    } progs[] = {{0, "zeta", 1},
                 {1, "Alpha", 1},
                 {0, "beta", 2},
                 {3,
                  "\xC9"
                  "clair",
                  5},
                 {0, "alpha", 1},
                 {2, "Gamma", 2},
                 {4, "delta", 7},
                 {3,
                  "\xE9"
                  "cho",
                  6},
                 {1, "Beta", 9},
                 {4, "epsilon", 7},
                 {2, "omega", 3},
                 {3, "Zulu", 5}};
    for (const auto& prog : progs) {
        AddProg(db, prog.tp, prog.name, prog.serviceId);
    }
    db.Progs().Find(6)->SetFavType(0x80000000u); // shown negative
    db.Progs().Find(2)->SetFavType(5);
}

namespace {

std::string RandomName(std::mt19937& random, std::size_t maxLength)
{
    static constexpr char kLetters[] = "aAbBzZ \xE9\xC9\xF6\xD6";
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    std::string name(length(random), ' ');
    for (char& c : name) {
        c = kLetters[letter(random)];
    }
    return name;
}

template <std::size_t Size>
void RandomBytes(std::array<std::uint8_t, Size>& bytes, std::mt19937& random)
{
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(random() & 0x0F); // small values, so keys repeat
    }
}

// Gives every third node of the list the id of the node before it.
template <class TNode>
void ShareIds(CNodeList<TNode>& list)
{
    std::vector<TNode*> nodes;
    for (TNode& node : list) {
        nodes.push_back(&node);
    }
    for (std::size_t i = 2; i < nodes.size(); i += 3) {
        list.SetNodeId(*nodes[i], nodes[i - 1]->Id());
    }
}

// Hangs the children whose parent id went away under the first parent.
template <class TChild, class TParent>
void Reparent(CNodeList<TChild>& children, const CNodeList<TParent>& parents)
{
    for (TChild& child : children) {
        if (parents.Find(child.ParentId()) == nullptr) {
            child.SetParentId(parents.begin()->Id());
        }
    }
}

} // namespace

void BuildRandomDb(CProgDb& db, std::mt19937& random, bool sharedIds)
{
    db.Clear();
    constexpr int kSats = 5;
    constexpr int kTps = 16;
    constexpr int kProgs = 80;
    for (int s = 0; s < kSats; ++s) {
        auto sat = std::make_unique<CSatNode>();
        RandomBytes(sat->Record().Bytes(), random);
        sat->SetName(RandomName(random, 16));
        db.Sats().Add(std::move(sat));
    }
    for (int t = 0; t < kTps; ++t) {
        auto tp = std::make_unique<CTpNode>(InvalidId, static_cast<std::int32_t>(random() % kSats));
        // Few distinct transponders, some differing only in ExtraFlag.
        tp->SetTpRecord(static_cast<std::uint32_t>(random() % 3) | (static_cast<std::uint32_t>(random() % 2) << 31));
        db.Tps().Add(std::move(tp));
    }
    for (int p = 0; p < kProgs; ++p) {
        auto prog = std::make_unique<CProgNode>(InvalidId, static_cast<std::int32_t>(random() % kTps));
        RandomBytes(prog->Record().Bytes(), random);
        prog->SetProgName(RandomName(random, 41));
        db.Progs().Add(std::move(prog));
    }
    if (sharedIds) {
        ShareIds(db.Sats());
        ShareIds(db.Tps());
        ShareIds(db.Progs());
        Reparent(db.Tps(), db.Sats());
        Reparent(db.Progs(), db.Tps());
    }
}

} // namespace core
