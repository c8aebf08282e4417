#include "files/clSistema.h"

#include "workbook/WorkbookFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

QString cleanExtension(const QString &extension)
{
    QString e = extension.trimmed();
    while (e.startsWith(QLatin1Char('.')) || e.startsWith(QLatin1Char('*')))
        e.remove(0, 1);
    return e;
}

QString runDialog(QFileDialog::AcceptMode mode, const QString &title, QWidget *owner, const QString &extension,
                  const QString &description)
{
    QFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(clSistema::filters(extension, description));
    dialog.setDefaultSuffix(cleanExtension(extension));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QString chosen = dialog.selectedFiles().value(0);
    return chosen.trimmed().isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
}

} // namespace

QStringList clSistema::filters(const QString &defaultExtension, const QString &filterDescription)
{
    const QString extension = cleanExtension(defaultExtension);
    QStringList patterns;
    if (!extension.isEmpty())
        patterns << QStringLiteral("*.") + extension;
    for (const QString &e : WorkbookFile::readableExtensions())
        if (e.compare(extension, Qt::CaseInsensitive) != 0)
            patterns << QStringLiteral("*.") + e;
    QString description = filterDescription.trimmed();
    if (description.isEmpty())
        description = extension.isEmpty() ? QStringLiteral("Libros de cálculo")
                                          : QStringLiteral("Archivos %1").arg(extension.toUpper());
    return {description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'),
            QStringLiteral("Todos los archivos (*)")};
}

QString clSistema::ShowOpen(const QString &title, QWidget *owner, const QString &defaultExtension,
                            const QString &filterDescription)
{
    return runDialog(QFileDialog::AcceptOpen, title, owner, defaultExtension, filterDescription);
}

QString clSistema::ShowSave(const QString &title, QWidget *owner, const QString &defaultExtension,
                            const QString &filterDescription)
{
    return runDialog(QFileDialog::AcceptSave, title, owner, defaultExtension, filterDescription);
}

bool clSistema::ExisteArchivo(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}
