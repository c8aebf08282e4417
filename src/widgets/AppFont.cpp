#include "widgets/AppFont.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>

namespace AppFont {
void ensureTahoma()
{
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive))
        return;
    // Only the regular face: the bold one shipped beside it draws like the regular, while
    // a bold synthesised from the regular face reads as bold.
    const QString regular = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(regular))
        QFontDatabase::addApplicationFont(regular);
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
}
} // namespace AppFont
