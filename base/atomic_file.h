#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <system_error>

// Replaces a file so that a failed write never destroys what was there: the
// bytes go to a new temporary file in the target's folder, which is flushed to
// disk and renamed over the target only when everything was written.
//
//   AtomicFile file(target);
//   if (!file.IsOpen() || !file.Write(data, size) || !file.Commit()) -> failed
//
// A writer that hands the file to a library (libsndfile) uses Descriptor().
// Destroying an uncommitted AtomicFile removes the temporary file.
class AtomicFile
{
public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();

    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    const std::filesystem::path& TempPath() const { return m_tempPath; }
    const std::filesystem::path& TargetPath() const { return m_target; }
    // Why the open, a write or the commit failed (empty while all went well).
    const std::error_code& Error() const { return m_error; }

    // Writes every byte or reports false (a full disk, a closed descriptor).
    bool Write(const void* data, size_t size);

    // Flushes, closes and renames over the target. On failure the temporary
    // file is removed and the target is left exactly as it was.
    bool Commit();

    // Gives up: removes the temporary file; the target is untouched.
    void Discard();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_tempPath;
    int m_fd = -1;
    bool m_failed = false;
    std::error_code m_error;
};

// Writes a whole file through AtomicFile; true when the target now holds bytes.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);
