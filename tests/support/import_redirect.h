// Redirects this program's calls of one imported function to a replacement,
// through the program's own import table, so the replacement can record the
// call and still pass it on to the real function.
#pragma once
#include <windows.h>

// The import-table slot through which module calls dll!function, or nullptr
// when module does not import it by name.
void** ImportSlot(HMODULE module, const char* dll, const char* function);

// Puts replacement in this program's slot for dll!function; returns what
// the slot held, or nullptr (and changes nothing) when there is no slot.
void* SwapImport(const char* dll, const char* function, void* replacement);

template <typename Function>
Function RedirectImport(const char* dll, const char* function, Function replacement)
{
    return reinterpret_cast<Function>(SwapImport(dll, function, reinterpret_cast<void*>(replacement)));
}
