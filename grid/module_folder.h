#pragma once

#include <string>

// The folder of the running executable with its trailing "/", as the first
// MAX_PATH characters of its path give it: where the program's own files lie.
std::wstring ModuleFolder();
