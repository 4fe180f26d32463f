#include "excel/xml/XmlEntities.h"

#include <algorithm>
#include <array>
#include <strings.h>

namespace core {

namespace {

struct Entity
{
    std::string_view name;
    std::uint32_t codePoint;
};

// Sorted by name (bytewise) for the exact-case search.
constexpr Entity kEntities[]{
    Entity{"AElig", 198},    Entity{"Aacute", 193},  Entity{"Acirc", 194},    Entity{"Agrave", 192},
    Entity{"Alpha", 913},    Entity{"Aring", 197},   Entity{"Atilde", 195},   Entity{"Auml", 196},
    Entity{"Beta", 914},     Entity{"Ccedil", 199},  Entity{"Chi", 935},      Entity{"Dagger", 8225},
    Entity{"Delta", 916},    Entity{"ETH", 208},     Entity{"Eacute", 201},   Entity{"Ecirc", 202},
    Entity{"Egrave", 200},   Entity{"Epsilon", 917}, Entity{"Eta", 919},      Entity{"Euml", 203},
    Entity{"Gamma", 915},    Entity{"Iacute", 205},  Entity{"Icirc", 206},    Entity{"Igrave", 204},
    Entity{"Iota", 921},     Entity{"Iuml", 207},    Entity{"Kappa", 922},    Entity{"Lambda", 923},
    Entity{"Mu", 924},       Entity{"Ntilde", 209},  Entity{"Nu", 925},       Entity{"OElig", 338},
    Entity{"Oacute", 211},   Entity{"Ocirc", 212},   Entity{"Ograve", 210},   Entity{"Omega", 937},
    Entity{"Omicron", 927},  Entity{"Oslash", 216},  Entity{"Otilde", 213},   Entity{"Ouml", 214},
    Entity{"Phi", 934},      Entity{"Pi", 928},      Entity{"Prime", 8243},   Entity{"Psi", 936},
    Entity{"Rho", 929},      Entity{"Scaron", 352},  Entity{"Sigma", 931},    Entity{"THORN", 222},
    Entity{"Tau", 932},      Entity{"Theta", 920},   Entity{"Uacute", 218},   Entity{"Ucirc", 219},
    Entity{"Ugrave", 217},   Entity{"Upsilon", 933}, Entity{"Uuml", 220},     Entity{"Xi", 926},
    Entity{"Yacute", 221},   Entity{"Yuml", 376},    Entity{"Zeta", 918},     Entity{"aacute", 225},
    Entity{"acirc", 226},    Entity{"acute", 180},   Entity{"aelig", 230},    Entity{"agrave", 224},
    Entity{"alefsym", 8501}, Entity{"alpha", 945},   Entity{"amp", 38},       Entity{"and", 8743},
    Entity{"ang", 8736},     Entity{"apos", 39},     Entity{"aring", 229},    Entity{"asymp", 8776},
    Entity{"atilde", 227},   Entity{"auml", 228},    Entity{"bdquo", 8222},   Entity{"beta", 946},
    Entity{"brvbar", 166},   Entity{"bull", 8226},   Entity{"cap", 8745},     Entity{"ccedil", 231},
    Entity{"cedil", 184},    Entity{"cent", 162},    Entity{"chi", 967},      Entity{"circ", 710},
    Entity{"clubs", 9827},   Entity{"cong", 8773},   Entity{"copy", 169},     Entity{"crarr", 8629},
    Entity{"cup", 8746},     Entity{"curren", 164},  Entity{"dArr", 8659},    Entity{"dagger", 8224},
    Entity{"darr", 8595},    Entity{"deg", 176},     Entity{"delta", 948},    Entity{"diams", 9830},
    Entity{"divide", 247},   Entity{"eacute", 233},  Entity{"ecirc", 234},    Entity{"egrave", 232},
    Entity{"empty", 8709},   Entity{"emsp", 8195},   Entity{"ensp", 8194},    Entity{"epsilon", 949},
    Entity{"equiv", 8801},   Entity{"eta", 951},     Entity{"eth", 240},      Entity{"euml", 235},
    Entity{"euro", 8364},    Entity{"exist", 8707},  Entity{"fnof", 402},     Entity{"forall", 8704},
    Entity{"frac12", 189},   Entity{"frac14", 188},  Entity{"frac34", 190},   Entity{"frasl", 8260},
    Entity{"gamma", 947},    Entity{"ge", 8805},     Entity{"gt", 62},        Entity{"hArr", 8660},
    Entity{"harr", 8596},    Entity{"hearts", 9829}, Entity{"hellip", 8230},  Entity{"iacute", 237},
    Entity{"icirc", 238},    Entity{"iexcl", 161},   Entity{"igrave", 236},   Entity{"image", 8465},
    Entity{"infin", 8734},   Entity{"int", 8747},    Entity{"iota", 953},     Entity{"iquest", 191},
    Entity{"isin", 8712},    Entity{"iuml", 239},    Entity{"kappa", 954},    Entity{"lArr", 8656},
    Entity{"lambda", 955},   Entity{"lang", 9001},   Entity{"laquo", 171},    Entity{"larr", 8592},
    Entity{"lceil", 8968},   Entity{"ldquo", 8220},  Entity{"le", 8804},      Entity{"lfloor", 8970},
    Entity{"lowast", 8727},  Entity{"loz", 9674},    Entity{"lrm", 8206},     Entity{"lsaquo", 8249},
    Entity{"lsquo", 8216},   Entity{"lt", 60},       Entity{"macr", 175},     Entity{"mdash", 8212},
    Entity{"micro", 181},    Entity{"middot", 183},  Entity{"minus", 8722},   Entity{"mu", 956},
    Entity{"nabla", 8711},   Entity{"nbsp", 160},    Entity{"ndash", 8211},   Entity{"ne", 8800},
    Entity{"ni", 8715},      Entity{"not", 172},     Entity{"notin", 8713},   Entity{"nsub", 8836},
    Entity{"ntilde", 241},   Entity{"nu", 957},      Entity{"oacute", 243},   Entity{"ocirc", 244},
    Entity{"oelig", 339},    Entity{"ograve", 242},  Entity{"oline", 8254},   Entity{"omega", 969},
    Entity{"omicron", 959},  Entity{"oplus", 8853},  Entity{"or", 8744},      Entity{"ordf", 170},
    Entity{"ordm", 186},     Entity{"oslash", 248},  Entity{"otilde", 245},   Entity{"otimes", 8855},
    Entity{"ouml", 246},     Entity{"para", 182},    Entity{"part", 8706},    Entity{"permil", 8240},
    Entity{"perp", 8869},    Entity{"phi", 966},     Entity{"pi", 960},       Entity{"piv", 982},
    Entity{"plusmn", 177},   Entity{"pound", 163},   Entity{"prime", 8242},   Entity{"prod", 8719},
    Entity{"prop", 8733},    Entity{"psi", 968},     Entity{"quot", 34},      Entity{"rArr", 8658},
    Entity{"radic", 8730},   Entity{"rang", 9002},   Entity{"raquo", 187},    Entity{"rarr", 8594},
    Entity{"rceil", 8969},   Entity{"rdquo", 8221},  Entity{"real", 8476},    Entity{"reg", 174},
    Entity{"rfloor", 8971},  Entity{"rho", 961},     Entity{"rlm", 8207},     Entity{"rsaquo", 8250},
    Entity{"rsquo", 8217},   Entity{"sbquo", 8218},  Entity{"scaron", 353},   Entity{"sdot", 8901},
    Entity{"sect", 167},     Entity{"shy", 173},     Entity{"sigma", 963},    Entity{"sigmaf", 962},
    Entity{"sim", 8764},     Entity{"spades", 9824}, Entity{"sub", 8834},     Entity{"sube", 8838},
    Entity{"sum", 8721},     Entity{"sup", 8835},    Entity{"sup1", 185},     Entity{"sup2", 178},
    Entity{"sup3", 179},     Entity{"supe", 8839},   Entity{"szlig", 223},    Entity{"tau", 964},
    Entity{"there4", 8756},  Entity{"theta", 952},   Entity{"thetasym", 977}, Entity{"thinsp", 8201},
    Entity{"thorn", 254},    Entity{"tilde", 732},   Entity{"times", 215},    Entity{"trade", 8482},
    Entity{"uArr", 8657},    Entity{"uacute", 250},  Entity{"uarr", 8593},    Entity{"ucirc", 251},
    Entity{"ugrave", 249},   Entity{"uml", 168},     Entity{"upsih", 978},    Entity{"upsilon", 965},
    Entity{"uuml", 252},     Entity{"weierp", 8472}, Entity{"xi", 958},       Entity{"yacute", 253},
    Entity{"yen", 165},      Entity{"yuml", 255},    Entity{"zeta", 950},     Entity{"zwj", 8205},
    Entity{"zwnj", 8204},
};

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

std::uint32_t LookupEntity(std::string_view name)
{
    const auto* found = std::lower_bound(std::begin(kEntities),
                                         std::end(kEntities),
                                         name,
                                         [](const Entity& entity, std::string_view key) { return entity.name < key; });
    if (found != std::end(kEntities) && found->name == name) {
        return found->codePoint;
    }
    // Names that exist in two cases (Agrave/agrave) then resolve to whichever sorts first.
    for (const Entity& entity : kEntities) {
        if (EqualIgnoringCase(entity.name, name)) {
            return entity.codePoint;
        }
    }
    return 0;
}

std::size_t EntityCount()
{
    return std::size(kEntities);
}

} // namespace core
