// libFuzzer harness for the .ods reader: any bytes must give a sheet or an AppError,
// never a crash, a hang or an allocation out of proportion to the input.
#include "FuzzInput.h"
#include "WorkbookTestZip.h"
#include "external/workbook/OdsReader.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <QByteArray>
#include <QFile>

// The first byte chooses: even, the rest is the file as it is; odd, the rest is the
// content part of an otherwise sound package, so that mutations reach the XML handler.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = FuzzInput::path("ods");
    if (size < 1)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    if ((data[0] & 1) == 0) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(rest);
    } else if (!WorkbookTestZip::write(path, {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                              {"content.xml", rest}})) {
        return 0;
    }
    try {
        (void)FuzzInput::touch(OdsReader::readFirstSheet(ZipPackage(path), ReadLimits{65536, 16384}));
    } catch (const AppError &) {
    }
    return 0;
}
