#include "editor/SpreadsheetSideCopy.h"

#include "access/CAccessDbIn.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelOut.h"

using core::CAccessDbIn;
using core::CAccessExcelOut;
using core::CProgDb;

namespace editor {

void MakeSpreadsheetSideCopy(const std::string& path)
{
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
