#include "workbook/WorkbookEngine.h"

#include "workbook/LoadedWorkbook.h"
#include "workbook/WorkbookFile.h"

WorkbookEngine::WorkbookEngine(const ReadLimits &limits) : m_limits(limits) {}

std::shared_ptr<ExcelWorkbook> WorkbookEngine::openWorkbook(const QString &fileName, bool readOnly,
                                                            bool ignoreReadOnlyRecommended, bool editable)
{
    // Files are only ever read; changed cells live in memory.
    Q_UNUSED(readOnly);
    Q_UNUSED(ignoreReadOnlyRecommended);
    Q_UNUSED(editable);
    auto workbook = std::make_shared<LoadedWorkbook>(WorkbookFile::readFirstSheet(fileName, m_limits));
    m_open.push_back(workbook);
    return workbook;
}

void WorkbookEngine::closeWorkbooks()
{
    m_open.clear();
}

void WorkbookEngine::close()
{
    m_open.clear();
}
