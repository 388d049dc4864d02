#pragma once

#include <string>

// The folder the user's own reference profiles are kept in: "Brimhold" and
// "profiles" under the user's Documents folder, at full length (it may not
// exist yet). Empty when there is no Documents folder.
std::wstring GetUserProfilesFolder();
