#pragma once

#include <string>

// The library's folders: the program's own folder, which holds the factory
// "profiles", "style" and "presets" folders, and the user's folders "Brimhold"
// and then "profiles", "style" or "presets" under the Documents folder. Every
// path is at full length; none of the folders need exist and none is created.

// The folder of the running program file.
std::wstring ExeFolder();

// The user's Documents folder; empty when there is none.
std::wstring DocumentsFolder();

// Empty when there is no Documents folder.
std::wstring GetUserProfilesFolder();
std::wstring GetUserStylesFolder();
std::wstring GetUserPresetsFolder();
