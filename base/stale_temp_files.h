#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// AtomicFile names its temporary file ".<target name>.tmp-<pid>-<n>" beside
// the target. A writer that is killed (power cut, SIGKILL, a crash) leaves that
// file behind, often as large as the target; nothing else would ever remove it.

// ".<target name>.tmp-": every temporary file of the target starts with this.
std::string TempFilePrefix(const std::filesystem::path& target);

// Removes the target's temporary files that no live writer can own: those of a
// process that no longer runs, and those of a running process that is not this
// program (its id was reused, or the file came from another machine) once
// they are older than `unownedAge`. A file of a running copy of this program,
// this process included, is always kept.
void RemoveStaleTempFiles(const std::filesystem::path& target,
                          std::chrono::seconds unownedAge = std::chrono::hours(24));
