// The POSIX calls the shared unit tests make, in Windows terms, for their
// cross-built run under Wine. Included before every test source.
#pragma once
#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

inline char* mkdtemp(char* pattern)
{
    if (!_mktemp(pattern) || _mkdir(pattern) != 0) return nullptr;
    return pattern;
}

inline int setenv(const char* name, const char* value, int overwrite)
{
    if (!overwrite && getenv(name)) return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
#endif
