#include "sheet/clEcxel.h"

#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "workbook/ExcelApplication.h"

namespace {
const QString kSourceAbrir = QStringLiteral("[clExcel.Abrir]");
const QString kSourceLeerCelda = QStringLiteral("[clExcel.LeerCelda]");
// A workbook without a first worksheet ("Subscript out of range").
} // namespace

clEcxel::clEcxel() = default;
clEcxel::~clEcxel() = default;

void clEcxel::Archivo(const QString &p_Archivo)
{
    m_Archivo = p_Archivo;
}

void clEcxel::FilasGuardadas(int p_Filas)
{
    m_Filas = p_Filas;
}

void clEcxel::CerrarArchivo()
{
    try {
        if (m_App)
            m_App->closeWorkbooks();
    } catch (...) {
    }
    try {
        if (m_App)
            m_App->close();
    } catch (...) {
    }
}

bool clEcxel::Abrir(bool bReadOnly)
{
    // Each step carries its own number so the message tells where opening failed.
    int line = 1;
    try {
        m_App = ComponentRegistry::create<ExcelApplication>(QStringLiteral("Excel.Application"));
        line = 2;
        if (m_Archivo.isEmpty())
            throw AppError(ErrorNumbers::kSpreadsheet, kSourceAbrir, QStringLiteral("No hay archivo seleccionado"));
        line = 3;
        m_Region = QLocale();
        if (m_Filas > 0)
            m_App->keepRows(m_Filas);
        m_Libro = m_App->openWorkbook(m_Archivo, bReadOnly, true, false);
        line = 4;
        m_Hoja = m_Libro ? m_Libro->worksheet(1) : nullptr;
        if (!m_Hoja)
            throw AppError(ErrorNumbers::kSubscriptOutOfRange, kSourceAbrir,
                           QStringLiteral("Subíndice fuera del intervalo"));
    } catch (const AppError &e) {
        throw AppError(e.number(), kSourceAbrir, e.description() + QString::number(line));
    }
    return true;
}

QString clEcxel::LeerCelda(int p_Lin, int p_Col)
{
    if (!m_Hoja)
        return QString();
    try {
        return m_Hoja->value(p_Lin, p_Col).toDisplayText(m_Region);
    } catch (const AppError &e) {
        throw AppError(e.number(), kSourceLeerCelda, e.description());
    }
}

bool clEcxel::FilaVacia(int p_Lin, int p_Cols) const
{
    return !m_Hoja || m_Hoja->rowIsEmpty(p_Lin, p_Cols);
}

void clEcxel::OlvidarFilasAntesDe(int p_Lin)
{
    if (m_Hoja)
        m_Hoja->forgetRowsBefore(p_Lin);
}

void clEcxel::EscribirCelda(int p_Lin, int p_Col, const QString &p_Valor)
{
    if (m_Hoja)
        m_Hoja->setValue(p_Lin, p_Col, CellValue::fromText(p_Valor));
}
