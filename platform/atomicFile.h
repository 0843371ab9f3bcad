#pragma once
#include <filesystem>
#include <optional>
#include <string>

// Whole-file reads and writes. A write goes to a hidden temporary file beside the target, is flushed
// to disk and renamed over the target, so a crash or kill at any moment leaves the old file or the new
// one, never a torn one. Answers false, with the target untouched, when anything fails.
// A target that cannot be written (a read-only file, whoever runs the program) stays as it was, and
// a rewritten file keeps its permissions.
bool WriteFileAtomically(const std::filesystem::path& target, const std::string& bytes);

// The temporary's name is the target's with this many bytes more: "." + name + ".<12 hex digits>.tmp".
inline constexpr std::size_t kTemporaryNameExtra = 18;
// The longest file name, in bytes, that the file systems the program runs on take.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// Removes the temporaries that writes killed half-way left in a folder (only the program's own, by
// their form, and only those older than olderThanSeconds, so that a write under way is left alone).
// Answers how many were removed.
int RemoveStaleTemporaries(const std::filesystem::path& folder, int olderThanSeconds = 600);

// The whole file, or nullopt when it cannot be read (errorNumber gets the system's reason). Only a
// regular file is read: a FIFO or a device would keep the reader waiting.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, int* errorNumber = nullptr);
