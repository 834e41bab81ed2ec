#include "app/StepGuard.h"

#include "app/ErrorBoxText.h"

StepGuard::StepGuard(Reporter reporter, const QString& handler)
    : m_reporter(std::move(reporter))
    , m_location(ErrorBoxText::location(handler))
{ }

void StepGuard::report(const QString& description)
{
    ++m_failures;
    m_reporter(
        ErrorBoxText::message(description, m_location, m_current, ErrorBoxText::supportAddress()));
}
