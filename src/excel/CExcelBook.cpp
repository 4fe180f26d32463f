#include "excel/CExcelBook.h"

#include "excel/xml/CXmlDocument.h"

struct CExcelBook::Cursor
{ };

CExcelBook::CExcelBook() = default;

CExcelBook::~CExcelBook()
{
    Close();
}

bool CExcelBook::Create(std::string_view)
{
    return false;
}

bool CExcelBook::Open(std::string_view)
{
    return false;
}

void CExcelBook::Close()
{
    m_doc.reset();
    m_cursor.reset();
    m_isOpen = false;
}

bool CExcelBook::Save()
{
    return false;
}

bool CExcelBook::OpenSheet(std::string_view)
{
    return false;
}

bool CExcelBook::CreateSheet(std::string_view)
{
    return false;
}

bool CExcelBook::ReadCell(int, int, std::string& out)
{
    out.clear();
    return false;
}

bool CExcelBook::WriteCell(int, int, std::string_view)
{
    return false;
}

bool CExcelBook::LinkCell(int, int, std::string_view)
{
    return false;
}
