#pragma once

#include <QString>
#include <exception>

// A failure of an outside service. Its description is what the error box shows, unchanged.
class PlatformError : public std::exception
{
public:
    explicit PlatformError(QString description)
        : m_description(std::move(description))
        , m_utf8(m_description.toUtf8())
    { }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};
