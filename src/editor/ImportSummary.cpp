#include "editor/ImportSummary.h"

#include "db/CProgDb.h"

using core::CProgDb;

namespace editor {

namespace {
std::string Count(std::uint32_t n, const char* singular, const char* plural)
{
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}
} // namespace

std::string ImportSummary(const CProgDb& db)
{
    return Count(db.Sats().Count(), "satellite", "satellites") + ", "
        + Count(db.Tps().Count(), "transponder", "transponders") + ", "
        + Count(db.Progs().Count(), "program", "programs");
}

} // namespace editor
