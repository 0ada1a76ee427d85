#include "common/LateLibrary.h"

#include <dlfcn.h>

void* lateSymbol(const char* library, const char* name)
{
    // The loader counts every open of the same library and hands back the same handle.
    void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    return handle ? dlsym(handle, name) : nullptr;
}
