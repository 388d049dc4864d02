#include "grid/module_folder.h"

#include "platform/win32/shell_folders.h"

std::wstring ModuleFolder()
{
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    const size_t slash = path.find_last_of(L'/');
    if (slash != std::wstring::npos)
    {
        path.erase(slash + 1);
    }
    return path;
}
