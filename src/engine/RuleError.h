#pragma once

#include <QString>
#include <exception>

// A rule that cannot be set or judged as given: a value it cannot take, a letter position below 1,
// rules on word facts for a list without them. Its description is what the user is told.
class RuleError : public std::exception
{
public:
    explicit RuleError(QString description)
        : m_description(std::move(description))
        , m_utf8(m_description.toUtf8())
    { }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};
