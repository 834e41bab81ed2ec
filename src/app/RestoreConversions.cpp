#include "app/RestoreConversions.h"

#include "engine/NumericText.h"
#include "engine/PlatformError.h"

#include <cmath>

namespace RestoreConversions {

namespace {

    [[noreturn]] void typeMismatch()
    {
        throw PlatformError(QStringLiteral("Type mismatch"));
    }

    [[noreturn]] void invalidValue()
    {
        throw PlatformError(QStringLiteral("Invalid property value"));
    }

} // namespace

int toInteger16(const QString& stored)
{
    const auto value = NumericText::value(stored);
    if (!value)
        typeMismatch();
    const double rounded = std::nearbyint(*value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw PlatformError(QStringLiteral("Overflow"));
    return int(rounded);
}

int toCheckState(const QString& stored)
{
    const int state = toInteger16(stored);
    if (state < 0 || state > 2)
        invalidValue();
    return state;
}

int toTwoStateCheck(const QString& stored)
{
    const int state = toCheckState(stored);
    if (state == 2)
        invalidValue();
    return state;
}

bool toBoolean(const QString& stored)
{
    const QString trimmed = stored.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const auto value = NumericText::value(stored);
    if (!value)
        typeMismatch();
    return *value != 0.0;
}

int toListIndex(const QString& stored, int count)
{
    const int index = toInteger16(stored);
    if (index < -1 || index >= count)
        invalidValue();
    return index;
}

int toEntryIndex(const QString& stored, int count)
{
    const int index = toListIndex(stored, count);
    if (index < 0)
        invalidValue();
    return index;
}

} // namespace RestoreConversions
