#pragma once

#include "common/CommonTr.h"

#include <QString>

#include <optional>
#include <utility>

// Outcome of an operation that can fail: success, or a failure with a message in the user's
// language (what happened and what to do) and, where an engine gave one, its own words as
// detail. Windows show error(); the core never shows anything itself.
class [[nodiscard]] Result
{
public:
    Result() = default;
    static Result failure(QString message, QString detail = {})
    {
        return Result(message.isNull() ? QStringLiteral("") : std::move(message), std::move(detail));
    }

    bool ok() const { return m_message.isNull(); }
    explicit operator bool() const { return ok(); }
    const QString& message() const { return m_message; }
    const QString& detail() const { return m_detail; }
    // The message, then the detail on a line of its own.
    QString error() const
    {
        if (m_detail.isEmpty())
            return m_message;
        return m_message + QStringLiteral("\n\n") + CommonTr::tr("详细信息：%1").arg(m_detail);
    }

private:
    Result(QString message, QString detail) : m_message(std::move(message)), m_detail(std::move(detail)) {}

    QString m_message;
    QString m_detail;
};

// The value an operation gives, or why it could not give one. Converts to the plain Result of
// its outcome, so a caller can pass a failure on unchanged.
template <typename T> class [[nodiscard]] ResultOf : public Result
{
public:
    ResultOf(T value) : m_value(std::move(value)) {}
    // A failure; an ok result here would leave no value, so it must not be one.
    ResultOf(Result failure) : Result(std::move(failure)) { Q_ASSERT(!ok()); }

    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T* operator->() const { return &*m_value; }
    // The value, or fallback when the operation failed.
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }

private:
    std::optional<T> m_value;
};
