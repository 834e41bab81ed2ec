#include "app/ApplicationTitle.h"

QString applicationTitle(const QString& productName)
{
    QString title = productName;
    qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
    if (blank < 0)
        return title;
    do {
        title.truncate(blank);
        blank = title.lastIndexOf(QLatin1Char(' '));
    } while (title.size() > 40 && blank >= 0);
    return title;
}
