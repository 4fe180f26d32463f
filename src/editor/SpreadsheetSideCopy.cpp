#include "editor/SpreadsheetSideCopy.h"

#include "access/CAccessDbIn.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelOut.h"

using core::CAccessDbIn;
using core::CAccessExcelOut;
using core::CProgDb;
using core::ScopedPendingError;

namespace editor {

void MakeSpreadsheetSideCopy(const std::string& path)
{
    // The copy is made quietly: a file that does not read as a db file (a workbook, a flash image)
    // must not leave its reason pending for a later, unrelated message.
    const ScopedPendingError quiet;
    CProgDb scratch;
    CAccessDbIn reader;
    if (!reader.Import(path, scratch)) {
        return;
    }
    CAccessExcelOut writer;
    // The copy is a convenience beside the import: a failure to write it is not the import's failure.
    (void)writer.Export(path + "xls", scratch);
}

} // namespace editor
