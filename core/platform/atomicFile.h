#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// Whole-file reads and writes. A write goes to a hidden temporary file beside the target, is flushed
// to disk and renamed over the target, so a crash or kill at any moment leaves the old file or the new
// one, never a torn one. Answers false, with the target untouched, when anything fails.
// A target that cannot be written (a read-only file, whoever runs the program) stays as it was, and
// a rewritten file keeps its permissions.
//
// Inside the data folder (ProgramFolder()) nothing is reached through a link: every folder on the way
// is opened from the data folder's own handle without following one, and so is the file. A link met
// there is left as it is, nothing is read from or written to what it points at, and the problem sink
// is told about it. In a folder shared by a group (set-group-id), what is made there is the group's:
// group-writable, of the folder's group, and open to others no more than the folder is.
bool WriteFileAtomically(const std::filesystem::path& target, const std::string& bytes);

// The temporary's name is the target's with this many bytes more: "." + name + ".<12 hex digits>.tmp".
inline constexpr std::size_t kTemporaryNameExtra = 18;
// The longest file name, in bytes, that the file systems the program runs on take.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// Removes the temporaries that writes killed half-way left in a folder (only the program's own, by
// their form, and only those older than olderThanSeconds, so that a write under way is left alone).
// Answers how many were removed.
int RemoveStaleTemporaries(const std::filesystem::path& folder, int olderThanSeconds = 600);

// The largest files read whole: a settings file (a profile, a lesson result file, the program's
// settings), a sound (a minute and a half of CD sound; the course's own last a second or two) and a
// picture (the decoder has its own limit of pixels as well).
inline constexpr std::uintmax_t kSettingsFileCap = std::uintmax_t{1024} * 1024;
inline constexpr std::uintmax_t kSoundFileCap = std::uintmax_t{16} * 1024 * 1024;
inline constexpr std::uintmax_t kPictureFileCap = std::uintmax_t{64} * 1024 * 1024;

// The whole file, or nullopt when it cannot be read (errorNumber gets the system's reason; EFBIG
// when it holds more than maxBytes). Only a regular file is read: a FIFO or a device would keep the
// reader waiting, and is never waited on.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, int* errorNumber = nullptr,
                                         std::uintmax_t maxBytes = kSettingsFileCap);
// The same reading, handed over a piece at a time (a long file read as a stream, memory flat): true
// when every piece was handed over.
bool ReadDataFile(const std::filesystem::path& path, int* errorNumber, std::uintmax_t maxBytes,
                  const std::function<void(const char* bytes, std::size_t count)>& chunk);

// Adds text at the end of a file in one write, without rewriting what is there (made, with firstText
// before it, when missing). The file's last byte is given to `join`, which answers what goes before
// the text (a line end for a last line left open, for instance).
bool AppendToFile(const std::filesystem::path& file, const std::string& text, const std::string& firstText,
                  const std::function<std::string(char lastByte)>& join);

// Makes a file with the bytes only when there is none of that name (create-exclusive, one atomic step
// on local and network file systems alike); false when there is one (errorNumber EEXIST), or on failure
// (errorNumber the system's reason).
bool CreateFileExclusively(const std::filesystem::path& file, const std::string& bytes,
                           int* errorNumber = nullptr);
// Renames a file of the data folder to a hidden name of its own in the same folder (the temporaries'
// form, so a kill's leftover is removed with them): of several processes moving the same file, one
// does. True, with `aside` set, when this call moved it.
bool MoveDataFileAside(const std::filesystem::path& file, std::filesystem::path& aside);
// Gives a file moved aside its name again, unless something has taken the name meanwhile.
bool PutDataFileBack(const std::filesystem::path& aside, const std::filesystem::path& file);
// The size of a file and its last `count` bytes (fewer when it is shorter), read without the rest;
// nullopt when it cannot be read (errorNumber ENOENT when there is none).
struct TFileEnd {
    std::uintmax_t Size = 0;
    std::string Last;
};
std::optional<TFileEnd> ReadDataFileEnd(const std::filesystem::path& file, std::size_t count,
                                        int* errorNumber = nullptr);
// Removes a file of the data folder (never through a link on the way; a link itself is removed).
bool RemoveDataFile(const std::filesystem::path& file);

// Makes a folder (one level) as the data folder's own: never through a link, and shared as its parent
// folder is shared. True when the folder is there afterwards.
bool MakeDataFolder(const std::filesystem::path& folder);

// When the path, inside the data folder, passes through or is a link: the Portuguese message that names
// it (what the problem sink is told). Empty otherwise, and for a path outside the data folder.
std::string DataPathProblem(const std::filesystem::path& path);

// Told (UTF-8, Portuguese) about a link met inside the data folder, once per refused operation.
void SetDataProblemSink(std::function<void(const std::string&)> sink);
