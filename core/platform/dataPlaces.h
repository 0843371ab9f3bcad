#pragma once
#include <filesystem>
#include <functional>
#include <string>

// Where the program's files are, decided once at start-up and used by every program of the build
// (the typing course and its companions), so that they all find one and the same data.
//
// - Portable: the executable's folder holds the data and can be written: everything lives there.
// - Installed: the read-only files come from the installation, the writable ones go to the machine's
//   shared data folder, or, for a user who cannot write there, to a folder of that user's own.
// - Named: an environment variable names the data folder (one on a file server, for instance). It must
//   be an absolute path to a folder there is and that can be written; it is never made (a server's
//   folder that is not mounted would become a roster of one machine). Otherwise the user's own folder
//   is used and the notice says why, at every start.
//
// Writable files (users/, lesson results in aulas/, velotecla.INI, velotecla.reg) are built from
// ProgramFolder(), which is the writable folder. Read-only files (lessons, pictures, sounds) are found
// with ProgramFile(): a copy in the writable folder overrides the installed one.
enum class DataMode { Portable, Installed, Named };

struct DataPlaces {
    DataMode mode = DataMode::Portable;
    std::filesystem::path dataFolder; // ProgramFolder()
    std::filesystem::path installed;  // the installation's read-only data
    std::filesystem::path modules;    // printing and sound modules: never a folder users can write
    bool shared = false;              // the writable folder is the machine's shared one
    std::string notice;               // Portuguese, UTF-8: why a folder other than the expected one is used
    bool unusable = false;            // no folder at all (no home): the notice says why; the program stops
};

// What the decision looks at, gathered from the system by SystemDataEnvironment().
struct DataEnvironment {
    std::string namedFolder;             // the environment variable kDataFolderVariable
    std::filesystem::path userFolder;    // per-user data base ($XDG_DATA_HOME or ~/.local/share; %APPDATA%)
    std::filesystem::path sharedFolder;  // the machine's shared data folder (empty: none)
    std::filesystem::path installedData; // the installation's data, relative to the executable's folder
    std::filesystem::path installedModules; // the installation's modules, relative to the executable's folder
    std::function<bool(const std::filesystem::path&)> canWrite; // empty: FolderWritable
};

inline constexpr const char* kDataFolderVariable = "VELOTECLA_DADOS";

DataEnvironment SystemDataEnvironment();

// Decides the places and makes the writable folder (and its aulas/ for lesson results) when it is not
// the executable's own folder. The per-user folder is the last resort; without one (no home) the
// places are unusable.
DataPlaces FindDataPlaces(const std::filesystem::path& executableFolder, const DataEnvironment& environment);
DataPlaces FindDataPlaces(const std::filesystem::path& executableFolder);

// The folder of the running executable (/proc/self/exe; GetModuleFileNameW on Windows), for programs
// without the toolkit: UseDataPlaces(FindDataPlaces(ExecutableFolder())).
std::filesystem::path ExecutableFolder();

// Makes the places the program's own. The process's umask is left alone: in a folder shared by a group
// (set-group-id) the program's own writes make their files group-writable (atomicFile.h).
void UseDataPlaces(const DataPlaces& places);

// A read-only file of the program by its path relative to the data (e.g. "aulas/aula3.aul"): the copy
// in the writable folder when there is one, otherwise the installed one.
std::filesystem::path ProgramFile(const std::filesystem::path& relative);

// Where the printing and sound modules are loaded from.
const std::filesystem::path& ModuleFolder();

// True when a file can be made in the folder (tried for real: permissions, read-only mounts, ACLs).
bool FolderWritable(const std::filesystem::path& folder);

// The folder every writable data path is built from, never the current directory: the executable's
// folder for a portable program, the data folder of an installed one. SetProgramFolder makes a
// portable program of the folder: everything is read and written there.
void SetProgramFolder(const std::filesystem::path& folder);
const std::filesystem::path& ProgramFolder();
