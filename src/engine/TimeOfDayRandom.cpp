#include "engine/TimeOfDayRandom.h"

#include <QTime>
#include <chrono>

void TimeOfDayRandom::seedFromTimeOfDay()
{
    // Milliseconds since midnight alone would repeat for starts in the same millisecond;
    // the clock's nanoseconds keep two quick starts apart.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    const quint64 sinceMidnight = quint64(QTime::currentTime().msecsSinceStartOfDay());
    m_engine.seed((sinceMidnight << 32) ^ quint64(nanos));
}
