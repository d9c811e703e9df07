#include "ProgramLocale.h"
#include <QLocale>

void applyProgramLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}
