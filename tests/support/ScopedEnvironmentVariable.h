#pragma once

#include <QByteArray>

namespace vantrell::test {

// Sets (or, given a null value, removes) one environment variable for the lifetime of the
// object and restores what was there before.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const QByteArray& value)
        : m_name(name), m_previous(qgetenv(name))
    {
        set(value);
    }
    ~ScopedEnvironmentVariable() { set(m_previous); }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    void set(const QByteArray& value) const
    {
        value.isNull() ? qunsetenv(m_name) : qputenv(m_name, value);
    }

    const char* m_name;
    QByteArray m_previous;
};

}  // namespace vantrell::test
