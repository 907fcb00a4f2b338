#pragma once

#include <initializer_list>

namespace qorvale::platform {

// A shared library loaded when a feature first needs it, for the few large ones (HTTP, archives)
// that would otherwise be loaded, with all their own dependencies, at every start of the tool.
// It stays loaded for the rest of the process. nullptr when none of `names` can be loaded.
void* LoadSharedLibrary(std::initializer_list<const char*> names);

// The address of `name` in `library`; nullptr when it has none.
void* SharedLibrarySymbol(void* library, const char* name);

}  // namespace qorvale::platform
