#pragma once

#include <QString>
#include <exception>

// A failure told to the user in its own words: the description is shown unchanged.
class DescribedError : public std::exception
{
public:
    explicit DescribedError(QString description)
        : m_description(std::move(description))
        , m_utf8(m_description.toUtf8())
    { }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};
