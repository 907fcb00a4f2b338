#include "platform/shared_library.h"

#include <dlfcn.h>

namespace qorvale::platform {

void* LoadSharedLibrary(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL)) return library;
    }
    return nullptr;
}

void* SharedLibrarySymbol(void* library, const char* name) {
    return library == nullptr ? nullptr : dlsym(library, name);
}

}  // namespace qorvale::platform
