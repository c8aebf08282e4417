// Must build: what the batch program may use, so a refusal above means the rule.
#include "catalog/EnvioArticulos.h"
#include "components/ComponentRegistry.h"
#include "lote/Lote.h"
#include "mapping/MapaDeEncabezados.h"
#include "modelos/GridModel.h"
#include "modelos/ReviewListModel.h"
#include "report/TextoReporte.h"
#include "review/ProcesoArticulos.h"
#include "sheet/LecturaHoja.h"

#include <QCoreApplication>
#include <QSqlDatabase>
