// The one platform-specific file of the media core: per-thread locales are
// uselocale() on POSIX systems and _configthreadlocale() on Windows.
#include "CCLocaleScope.h"

#ifdef _WIN32
#include <clocale>
#include <cstdlib>
#include <string>

CCLocaleScope::CCLocaleScope()
{
    m_previousMode = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    m_previous = new std::string(numeric ? numeric : "C");
    std::setlocale(LC_NUMERIC, "C");
}

CCLocaleScope::~CCLocaleScope()
{
    auto* previous = static_cast<std::string*>(m_previous);
    std::setlocale(LC_NUMERIC, previous->c_str());
    delete previous;
    _configthreadlocale(m_previousMode);
}

#else
#include <locale.h>

namespace {

// Made once and never freed: every scope on every thread shares it.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

} // namespace

CCLocaleScope::CCLocaleScope()
{
    if (const locale_t c = cLocale())
        m_previous = uselocale(c);
}

CCLocaleScope::~CCLocaleScope()
{
    if (m_previous)
        uselocale(static_cast<locale_t>(m_previous));
}
#endif
