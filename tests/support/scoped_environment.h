#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets (or, with nullopt, removes) an environment variable for the lifetime of
// the object and puts the previous value back afterwards.
class ScopedEnvironment
{
public:
    ScopedEnvironment(std::string name, const std::optional<std::string>& value)
        : m_name(std::move(name))
    {
        if (const char* old = std::getenv(m_name.c_str()))
        {
            m_saved = old;
        }
        if (value)
        {
            ::setenv(m_name.c_str(), value->c_str(), 1);
        }
        else
        {
            ::unsetenv(m_name.c_str());
        }
    }

    ~ScopedEnvironment()
    {
        if (m_saved)
        {
            ::setenv(m_name.c_str(), m_saved->c_str(), 1);
        }
        else
        {
            ::unsetenv(m_name.c_str());
        }
    }

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_saved;
};
