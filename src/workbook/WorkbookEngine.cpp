#include "workbook/WorkbookEngine.h"

#include "workbook/LoadedWorkbook.h"
#include "workbook/WorkbookFile.h"

#include <algorithm>

WorkbookEngine::WorkbookEngine(const ReadLimits &limits) : m_limits(limits) {}

void WorkbookEngine::keepRows(int rows)
{
    m_limits.keptRows = rows;
    m_limits.maxRows = std::max(m_limits.maxRows, rows + 1);
    // Rows kept are cells held: the budget grows with them, 24 columns a row.
    m_limits.slotBudget = std::max(m_limits.slotBudget, qint64(rows) * 24);
}

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
