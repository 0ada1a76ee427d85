#pragma once

#include <QString>

// Outcome of a core operation: success, or failure with a text the window shows to the user.
class [[nodiscard]] Result
{
public:
    Result() = default;
    static Result failure(QString error) { return Result(std::move(error)); }

    bool ok() const { return m_error.isNull(); }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }

private:
    explicit Result(QString error) : m_error(error.isNull() ? QStringLiteral("") : std::move(error)) {}
    QString m_error;
};
