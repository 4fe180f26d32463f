#include "editor/SpreadsheetSideCopy.h"

#include "editor/Formats.h"

#if CORVANE_WITH_SPREADSHEETS
#include "access/CAccessDbIn.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelOut.h"

using core::CAccessDbIn;
using core::CAccessExcelOut;
using core::CProgDb;
#endif

namespace editor {

void MakeSpreadsheetSideCopy([[maybe_unused]] const std::string& path)
{
#if CORVANE_WITH_SPREADSHEETS
    CProgDb scratch;
    CAccessDbIn reader;
    if (!reader.Import(path, scratch)) {
        return;
    }
    CAccessExcelOut writer;
    writer.Export(path + "xls", scratch);
#endif
}

} // namespace editor
