#pragma once

#include <string>

// Where reference profiles live: "profiles" beside the program (the factory
// set) and Documents/Brimhold/profiles (the user's), and which files count as
// stored in one of them. Paths are wide strings; they reach the file system
// through WidePathToFs.

// The "profiles" folder beside the running executable.
std::wstring FactoryProfilesFolder();

// Documents/Brimhold/profiles; the relative "Brimhold/profiles" when the
// Documents folder cannot be found.
std::wstring DocumentsProfilesFolder();

// The text after the last "\" or "/" of a stored profile name: a name is
// always looked for directly in its profiles folder.
std::string ProfileFileNamePart(const std::string& name);

// The profile a setup names, in the profiles folder of its kind; empty when
// the name has no file-name part or that part is "." or "..".
std::wstring ResolveProfilePath(const std::string& fileName, bool factory);

// Both made absolute against the current directory and normalised lexically
// ("." and ".." resolved without asking the file system), then compared
// component by component, exactly: "profiles2" is not inside "profiles". A
// path equal to the folder counts as inside; an empty one is never inside.
bool IsPathInsideFolder(const std::wstring& path, const std::wstring& folder);

// Inside the folder and named by exactly one component more: a file in a
// subfolder, or the folder itself, is not.
bool IsPathDirectlyInFolder(const std::wstring& path, const std::wstring& folder);

// Both made absolute and normalised as above, then compared exactly; two empty
// paths are not the same file.
bool IsSameAbsolutePath(const std::wstring& a, const std::wstring& b);
