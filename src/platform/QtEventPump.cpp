#include "platform/QtEventPump.h"

#include <QCoreApplication>

void QtEventPump::yield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
