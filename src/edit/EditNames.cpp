#include "edit/EditNames.h"

namespace core {

std::string_view KindNoun(NodeType kind, bool plural)
{
    switch (kind) {
    case Sat:
        return plural ? "Satellites" : "Satellite";
    case Tp:
        return plural ? "Transponders" : "Transponder";
    case Prog:
        break;
    }
    return plural ? "Programs" : "Program";
}

std::string CountedEditName(std::string_view verb, std::size_t count, NodeType kind, std::string_view qualifier)
{
    std::string name(verb);
    if (count != 1) {
        name += ' ' + std::to_string(count);
    }
    if (!qualifier.empty()) {
        name += ' ';
        name += qualifier;
    }
    name += ' ';
    name += KindNoun(kind, count != 1);
    return name;
}

} // namespace core
