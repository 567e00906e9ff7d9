// FFmpeg parses the numbers in filter graphs and options with the C library's
// strtod, which follows the process locale: under de_DE "0.5" stops at the dot and
// every graph with a fraction is refused. While one of these lives, the calling
// thread alone reads and writes numbers in the C locale; other threads, Qt's own
// number formatting and the user's locale elsewhere are untouched.
#pragma once

class CCLocaleScope
{
public:
    CCLocaleScope();
    ~CCLocaleScope();
    CCLocaleScope(const CCLocaleScope&) = delete;
    CCLocaleScope& operator=(const CCLocaleScope&) = delete;

private:
    void* m_previous = nullptr; // the thread's locale before, restored on exit
#ifdef _WIN32
    int m_previousMode = 0; // the thread's locale mode before
#endif
};
