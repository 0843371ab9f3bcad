#include "core/platform/dataPlaces.h"

#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"

#include "buildConfig.h" // the installation's layout, relative to the executable

#include <cstdlib>
#include <fstream>
#include <random>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

DataPlaces g_places;

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The lesson files are what makes a folder a program folder.
bool holdsProgramData(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder / "aulas", ec);
}

// The data folder itself (a link there is the technician's choice); the last level is made shared as its
// parent is shared.
bool makeFolder(const fs::path& folder) {
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return true;
    if (folder.has_parent_path() && folder.parent_path() != folder)
        fs::create_directories(folder.parent_path(), ec);
    return MakeDataFolder(folder) || fs::is_directory(folder, ec);
}

// The writable folder also keeps the lesson results, in aulas/ as beside a portable program.
bool usableWritable(const fs::path& folder, const DataEnvironment& env) {
    const auto writable = [&](const fs::path& f) {
        return env.canWrite ? env.canWrite(f) : FolderWritable(f);
    };
    // aulas/ may be made by another member at this very moment: MakeDataFolder waits for it to be the
    // group's.
    return makeFolder(folder) && writable(folder) && MakeDataFolder(folder / "aulas") &&
           writable(folder / "aulas");
}

// Why the folder named in the environment cannot hold the data (empty: it can). It is never made: a
// missing one is most often a server's folder that is not mounted, and one made in its place would be
// a roster of this machine alone.
std::string namedFolderProblem(const std::string& value, const DataEnvironment& env) {
    const fs::path named = PathFromUtf8(value);
    const std::string said = "A pasta de dados \"" + value + "\", indicada em " + kDataFolderVariable + ", ";
    if (!named.is_absolute())
        return std::string("O valor de ") + kDataFolderVariable + ", \"" + value +
               "\", não é um caminho completo (deve começar por "
#ifdef _WIN32
               "uma letra de unidade, como C:\\, ou por \\\\servidor"
#else
               "/"
#endif
               ") e não é usado.";
    std::error_code ec;
    const fs::file_status status = fs::status(named, ec);
    if (status.type() == fs::file_type::not_found)
        return said + "não existe (a pasta do servidor não está montada?).";
    if (ec)
        return said + "não pode ser aberta: " + SystemErrorTextPt(ec.default_error_condition().value()) + ".";
    if (!fs::is_directory(status))
        return said + "não é uma pasta.";
    if (!usableWritable(named, env))
        return said + "não pode ser gravada.";
    return {};
}

std::string utf8(const fs::path& path) {
    return PathToUtf8(path);
}

} // namespace

bool FolderWritable(const fs::path& folder) {
    static std::mt19937_64 rng{std::random_device{}()};
    const fs::path probe = folder / (".velotecla-" + std::to_string(rng() & 0xFFFFFFFFull) + ".tmp");
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return false;
    bool ok = false;
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        ok = static_cast<bool>(out << 'x') && static_cast<bool>(out.flush());
    }
    fs::remove(probe, ec);
    return ok;
}

DataEnvironment SystemDataEnvironment() {
    DataEnvironment env;
    env.namedFolder = environmentText(kDataFolderVariable);
#ifdef _WIN32
    if (const std::string appData = environmentText("APPDATA"); !appData.empty())
        env.userFolder = PathFromUtf8(appData);
#else
    // Relative values of XDG_DATA_HOME are invalid and must be ignored.
    const fs::path xdg = PathFromUtf8(environmentText("XDG_DATA_HOME"));
    if (xdg.is_absolute())
        env.userFolder = xdg;
    else if (const std::string home = environmentText("HOME"); !home.empty())
        env.userFolder = PathFromUtf8(home) / ".local" / "share";
#endif
    env.sharedFolder = PathFromUtf8(VT_SHARED_DATA);
    env.installedData = PathFromUtf8(VT_INSTALLED_DATA);
    env.installedModules = PathFromUtf8(VT_INSTALLED_MODULES);
    return env;
}

DataPlaces FindDataPlaces(const fs::path& executableFolder, const DataEnvironment& env) {
    DataPlaces places;
    const bool portableData = holdsProgramData(executableFolder);
    places.installed =
        portableData ? executableFolder : (executableFolder / env.installedData).lexically_normal();
    places.modules =
        portableData ? executableFolder : (executableFolder / env.installedModules).lexically_normal();

    // No home: a fixed folder in the system's temporary folder could be made beforehand by anyone, so
    // there is none.
    const fs::path userFolder = env.userFolder.empty() ? fs::path() : env.userFolder / "velotecla";
    const std::string userText =
        userFolder.empty() ? std::string()
                           : "Os alunos e resultados deste usuário ficam em " + utf8(userFolder) + ".";

    if (!env.namedFolder.empty()) {
        const std::string problem = namedFolderProblem(env.namedFolder, env);
        if (problem.empty()) {
            places.mode = DataMode::Named;
            places.dataFolder = PathFromUtf8(env.namedFolder);
            return places;
        }
        places.notice =
            problem + " " + userText + (userText.empty() ? "" : " Avise o técnico do laboratório.");
    } else if (portableData &&
               (env.canWrite ? env.canWrite(executableFolder) : FolderWritable(executableFolder))) {
        places.mode = DataMode::Portable;
        places.dataFolder = executableFolder;
        return places;
    } else if (!env.sharedFolder.empty()) {
        std::error_code ec;
        if (!fs::is_directory(env.sharedFolder, ec))
            places.notice =
                "A pasta de dados compartilhada " + utf8(env.sharedFolder) + " não existe. " + userText;
        else if (usableWritable(env.sharedFolder, env)) {
            places.mode = DataMode::Installed;
            places.dataFolder = env.sharedFolder;
            places.shared = true;
            return places;
        } else
            places.notice = "Este usuário não pode gravar na pasta de dados compartilhada " +
                            utf8(env.sharedFolder) +
                            " (o técnico pode incluí-lo no grupo velotecla; vale a partir da próxima entrada "
                            "no sistema). " +
                            userText;
    }
    places.mode = env.namedFolder.empty() ? DataMode::Installed : DataMode::Named;
    if (userFolder.empty()) {
        places.unusable = true;
        places.notice = (places.notice.empty() ? std::string() : places.notice + " ") +
                        "Não há pasta de dados para este usuário: HOME e XDG_DATA_HOME não estão definidas. "
                        "Defina HOME (ou " +
                        kDataFolderVariable + ") e abra o programa de novo.";
        return places;
    }
    places.dataFolder = userFolder;
    usableWritable(userFolder, env);
    return places;
}

DataPlaces FindDataPlaces(const fs::path& executableFolder) {
    return FindDataPlaces(executableFolder, SystemDataEnvironment());
}

fs::path ExecutableFolder() {
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return fs::path(buffer.substr(0, n)).parent_path();
#else
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path();
#endif
}

void UseDataPlaces(const DataPlaces& places) {
    // The process's umask stays the user's: what the program makes in a folder shared by a group gets
    // the folder's modes from the writes themselves (atomicFile.h), and a file saved elsewhere (a PDF in
    // the home) keeps the modes the user chose.
    g_places = places;
}

void SetProgramFolder(const fs::path& folder) {
    DataPlaces places;
    places.dataFolder = places.installed = places.modules = folder;
    g_places = places;
}

const fs::path& ProgramFolder() {
    return g_places.dataFolder;
}

fs::path ProgramFile(const fs::path& relative) {
    fs::path own = g_places.dataFolder / relative;
    if (g_places.installed.empty() || g_places.installed == g_places.dataFolder)
        return own;
    std::error_code ec;
    return fs::exists(own, ec) ? own : g_places.installed / relative;
}

const fs::path& ModuleFolder() {
    return g_places.modules;
}
