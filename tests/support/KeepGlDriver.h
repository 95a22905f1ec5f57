#pragma once
// Mesa loads its DRI driver when a display is initialised and unloads it when the display is
// terminated. Whatever the driver still held at that point (llvmpipe keeps state from drawing)
// then reads as leaked, from an unknown module no suppression can name. Marking the loaded
// drivers "never unload" keeps that memory reachable, so the leak check stays useful for our
// own code. Call it while a context is current, after the first draw at the latest.
#include <dlfcn.h>
#include <link.h>

#include <cstring>

inline void KeepGlDriverLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*)
        {
            const char* name = info->dlpi_name;
            const size_t length = name != nullptr ? std::strlen(name) : 0;
            if (length > 7 && std::strcmp(name + length - 7, "_dri.so") == 0)
                dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE); // a reference never released
            return 0;
        },
        nullptr);
}
