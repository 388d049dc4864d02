#pragma once

#include "platform/win32/shell_folders.h"

#include <filesystem>
#include <fstream>
#include <string>

// For a test's life the executable appears to live in a fresh folder (below
// the test program's output folder) holding a "plugins" folder of layout files.
class PluginFolder
{
public:
    explicit PluginFolder(const std::string& name)
        : folder(std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / "plugin_folders" / name)
    {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "plugins");
        brvl::win32::SetModuleFolderForTests(folder);
    }
    ~PluginFolder() { brvl::win32::SetModuleFolderForTests({}); }

    PluginFolder(const PluginFolder&) = delete;
    PluginFolder& operator=(const PluginFolder&) = delete;

    void Write(const std::string& pageId, const std::string& text) const
    {
        std::ofstream(folder / "plugins" / (pageId + ".json"), std::ios::binary) << text;
    }

    const std::filesystem::path folder;
};
