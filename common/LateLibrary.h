#pragma once

// A function of a system library that is opened the first time it is asked for, not linked: a
// library that only some work needs (the archive for a backup, the PostgreSQL client for a
// server) then costs nothing at a program's start. The library is opened once, privately, and
// never closed; an already loaded one (by a Qt plugin, say) is found in the process.
// Null when the library or the function cannot be found.
void* lateSymbol(const char* library, const char* name);

// The same, as a pointer to a function of the given type.
template <typename Function> Function lateFunction(const char* library, const char* name)
{
    return reinterpret_cast<Function>(lateSymbol(library, name));
}
