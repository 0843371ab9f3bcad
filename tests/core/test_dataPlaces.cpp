#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "testFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// A machine in a folder: an installation (bin/, share/velotecla with the lessons, lib/velotecla), a
// shared data folder, a user's home and a portable copy; which folders can be written is chosen.
class DataPlacesTest : public ::testing::Test {
protected:
    TestFolder root;
    std::set<fs::path> readOnly;

    void SetUp() override {
        for (const char* d : {"usr/bin", "usr/share/velotecla/aulas", "usr/lib/velotecla",
                              "var/lib/velotecla", "home/ana/.local/share", "pendrive/aulas"})
            fs::create_directories(root.path() / d);
    }
    fs::path at(const char* relative) const { return (root.path() / relative).lexically_normal(); }
    DataEnvironment environment() const {
        DataEnvironment env;
        env.userFolder = at("home/ana/.local/share");
        env.sharedFolder = at("var/lib/velotecla");
        env.installedData = fs::path("..") / "share" / "velotecla";
        env.installedModules = fs::path("..") / "lib" / "velotecla";
        env.canWrite = [this](const fs::path& f) {
            return readOnly.count(f.lexically_normal()) == 0 && FolderWritable(f);
        };
        return env;
    }
};

TEST_F(DataPlacesTest, EachSituationGetsItsFolders) {
    const fs::path user = at("home/ana/.local/share/velotecla");
    struct Row {
        const char* situation;
        const char* executable;
        std::string named;
        char namedIs; // what is at the named path: 'd' a folder, 'f' a file, '-' nothing
        std::vector<const char*> unwritable;
        bool sharedMissing;
        DataMode mode;
        fs::path dataFolder, installed, modules;
        bool shared;
        std::string noticePart; // empty: no notice
    };
    const fs::path shared = at("var/lib/velotecla"), inst = at("usr/share/velotecla"),
                   mods = at("usr/lib/velotecla"), stick = at("pendrive"), named = at("srv/escola");
    const std::string school = PathToUtf8(named);
    // clang-format off
    const std::vector<Row> rows = {
        // situation, executable, named (what is there), unwritable, shared missing: mode, writable, installed, modules, shared, notice
        {"a portable copy", "pendrive", "", '-', {}, false,
         DataMode::Portable, stick, stick, stick, false, ""},
        {"installed, member of the group", "usr/bin", "", '-', {}, false,
         DataMode::Installed, shared, inst, mods, true, ""},
        {"installed, outside the group", "usr/bin", "", '-', {"var/lib/velotecla"}, false,
         DataMode::Installed, user, inst, mods, false, "grupo velotecla"},
        {"installed without the shared folder", "usr/bin", "", '-', {}, true,
         DataMode::Installed, user, inst, mods, false, "não existe"},
        {"a copy put where it cannot write", "pendrive", "", '-', {"pendrive"}, false,
         DataMode::Installed, shared, stick, stick, true, ""},
        {"a named folder", "usr/bin", school, 'd', {}, false,
         DataMode::Named, named, inst, mods, false, ""},
        {"a named folder that is missing (a mount that failed) is not made", "usr/bin", school, '-', {}, false,
         DataMode::Named, user, inst, mods, false, "\"" + school + "\", indicada em VELOTECLA_DADOS, não existe"},
        {"a named file", "usr/bin", school, 'f', {}, false,
         DataMode::Named, user, inst, mods, false, "\"" + school + "\", indicada em VELOTECLA_DADOS, não é uma pasta"},
        {"a named folder that cannot be written", "usr/bin", school, 'd', {"srv/escola"}, false,
         DataMode::Named, user, inst, mods, false, "\"" + school + "\", indicada em VELOTECLA_DADOS, não pode ser gravada"},
        {"a relative name, even of a folder there is", "usr/bin", "srv/escola", 'd', {}, false,
         DataMode::Named, user, inst, mods, false, "VELOTECLA_DADOS, \"srv/escola\", não é um caminho completo"},
        {"a named folder wins over a portable copy", "pendrive", school, 'd', {}, false,
         DataMode::Named, named, stick, stick, false, ""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        readOnly.clear();
        for (const char* f : row.unwritable)
            readOnly.insert(at(f));
        fs::remove_all(at("srv"));
        fs::remove_all(user);
        if (row.namedIs == 'd')
            fs::create_directories(named);
        if (row.namedIs == 'f')
            root.write("srv/escola", "not a folder");
        if (row.sharedMissing)
            fs::remove_all(at("var/lib/velotecla"));
        DataEnvironment env = environment();
        env.namedFolder = row.named;
        const fs::path before = fs::current_path();
        fs::current_path(root.path()); // where a relative name would be taken
        const DataPlaces places = FindDataPlaces(at(row.executable), env);
        fs::current_path(before);
        fs::create_directories(at("var/lib/velotecla"));

        EXPECT_EQ(places.mode, row.mode);
        EXPECT_EQ(places.dataFolder, row.dataFolder);
        EXPECT_EQ(places.installed, row.installed);
        EXPECT_EQ(places.modules, row.modules);
        EXPECT_EQ(places.shared, row.shared);
        if (!row.noticePart.empty()) {
            EXPECT_NE(places.notice.find(row.noticePart), std::string::npos) << places.notice;
            EXPECT_NE(places.notice.find(PathToUtf8(user)), std::string::npos) << places.notice;
        } else {
            EXPECT_EQ(places.notice, "");
        }
        // The lesson results need aulas/ in the writable folder; a portable folder is left as it is.
        if (row.mode != DataMode::Portable) {
            EXPECT_TRUE(fs::is_directory(places.dataFolder / "aulas"));
        }
        EXPECT_EQ(fs::exists(user), places.dataFolder == user);
    }
    // No home and no per-user data folder: no fixed folder anyone could make first; the program stops.
    DataEnvironment env = environment();
    env.userFolder.clear();
    readOnly = {at("var/lib/velotecla")};
    const DataPlaces homeless = FindDataPlaces(at("usr/bin"), env);
    EXPECT_TRUE(homeless.unusable);
    EXPECT_TRUE(homeless.dataFolder.empty());
    EXPECT_NE(homeless.notice.find("HOME e XDG_DATA_HOME"), std::string::npos) << homeless.notice;
}

TEST_F(DataPlacesTest, FilesInTheDataFolderOverrideTheInstalledOnes) {
    root.write("usr/share/velotecla/aulas/aula3.aul", "installed");
    root.write("usr/share/velotecla/images/aula3.jpg", "installed");
#ifndef _WIN32
    ::chmod(at("var/lib/velotecla").c_str(), 02775); // as the package makes it: shared by its group
#endif
    const DataPlaces places = FindDataPlaces(at("usr/bin"), environment());
#ifndef _WIN32
    const mode_t before = ::umask(022); // the process's own, put back at the end
#endif
    UseDataPlaces(places);
    const fs::path lesson = fs::path("aulas") / "aula3.aul";
    const fs::path picture = fs::path("images") / "aula3.jpg";
    EXPECT_EQ(ProgramFile(lesson), at("usr/share/velotecla") / lesson);
    root.write("var/lib/velotecla/aulas/aula3.aul", "the teacher's");
    EXPECT_EQ(ProgramFile(lesson), at("var/lib/velotecla") / lesson);
    EXPECT_EQ(ProgramFile(picture), at("usr/share/velotecla") / picture);
    // Missing everywhere: the installed path, which an error message then names.
    EXPECT_EQ(ProgramFile("splash.jpg"), at("usr/share/velotecla") / "splash.jpg");
    // Writable files are built from the program folder, which is the data folder here.
    EXPECT_EQ(ProgramFolder(), at("var/lib/velotecla"));
    EXPECT_EQ(ModuleFolder(), at("usr/lib/velotecla"));
#ifndef _WIN32
    // Shared: what one member writes, the others can rewrite, whatever the umask was.
    fs::create_directories(at("var/lib/velotecla/users"));
    ASSERT_TRUE(WriteFileAtomically(at("var/lib/velotecla/users/Ana"), "[Definition]\r\n"));
    EXPECT_EQ(fs::status(at("var/lib/velotecla/users/Ana")).permissions() & fs::perms::group_write,
              fs::perms::group_write);
    ::umask(before);
#endif
    SetProgramFolder(root.path()); // portable again for the tests that follow
    EXPECT_EQ(ProgramFile(lesson), root.path() / lesson);
}

#ifndef _WIN32
// Wherever the data folder is shared by a group (set-group-id), whichever way it was found and whatever
// the umask, what the program makes there is the group's: group-writable, of the folder's group, and
// for others no more than the folder gives them. A folder of one user's own stays as the umask says.
TEST_F(DataPlacesTest, WhatIsMadeInASharedFolderIsTheGroups) {
    struct Row {
        const char* situation;
        const char* executable; // where the program is
        const char* named;      // the environment variable's folder, relative to the machine
        const char* folder;     // the data folder that the situation gives
        mode_t folderMode, umask;
        mode_t wantFolder, wantFile; // 0: whatever the umask makes
        bool programsPlaces = true;  // made the program's (UseDataPlaces), or written to as they are
    };
    // clang-format off
    const Row rows[] = {
        {"installed, umask 022", "usr/bin", "", "var/lib/velotecla", 02770, 022, 02770, 0660},
        {"installed, umask 077", "usr/bin", "", "var/lib/velotecla", 02770, 077, 02770, 0660},
        {"named, umask 022", "usr/bin", "srv/escola", "srv/escola", 02770, 022, 02770, 0660},
        {"named, umask 077", "usr/bin", "srv/escola", "srv/escola", 02770, 077, 02770, 0660},
        {"named, others may read", "usr/bin", "srv/escola", "srv/escola", 02775, 022, 02775, 0664},
        {"portable, umask 077", "pendrive", "", "pendrive", 02770, 077, 02770, 0660},
        {"a user's own folder, umask 077", "usr/bin", "srv/escola", "srv/escola", 0700, 077, 0700, 0600},
        {"the writes alone, umask 077", "usr/bin", "srv/escola", "srv/escola", 02770, 077, 02770, 0660, false},
    };
    // clang-format on
    // A group other than the tester's primary one, so that inheriting the folder's group shows: root may
    // take any, anyone else one of their own supplementary groups. Without one the modes are still
    // checked, the group is not.
    const gid_t group = [] {
        if (::geteuid() == 0)
            return gid_t{100};
        std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
        groups.resize(static_cast<std::size_t>(
            std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
        for (const gid_t g : groups)
            if (g != ::getegid())
                return g;
        std::printf("the tester is in no group besides their own: the folders' group is not checked\n");
        return ::getegid();
    }();
    const bool groupShows = group != ::getegid();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        fs::remove_all(at("srv"));
        fs::create_directories(at(row.folder));
        fs::remove_all(at(row.folder) / "users");
        fs::remove_all(at(row.folder) / "historico");
        ASSERT_EQ(::chown(at(row.folder).c_str(), static_cast<uid_t>(-1), group), 0);
        ASSERT_EQ(::chmod(at(row.folder).c_str(), row.folderMode), 0);
        const mode_t before = ::umask(row.umask);
        DataEnvironment env = environment();
        env.namedFolder = *row.named ? PathToUtf8(at(row.named)) : "";
        const DataPlaces places = FindDataPlaces(at(row.executable), env);
        ASSERT_EQ(places.dataFolder, at(row.folder));
        if (row.programsPlaces) {
            UseDataPlaces(places);
            // The process's umask stays the user's: a file saved outside the data folder keeps its modes.
            EXPECT_EQ(::umask(row.umask), row.umask);
        }
        const fs::path data = places.dataFolder;
        EXPECT_TRUE(MakeDataFolder(data / "users"));
        EXPECT_TRUE(WriteFileAtomically(data / "users" / "Ana", "[Definition]\r\n"));
        EXPECT_TRUE(WriteFileAtomically(data / "users" / "Ana", "[Definition]\r\nControl=1\r\n"));
        EXPECT_TRUE(MakeDataFolder(data / "historico"));
        EXPECT_TRUE(AppendToFile(data / "historico" / "Ana.csv", "x\r\n", "", [](char) { return ""; }));
        ::umask(before);
        const auto modeOf = [](const fs::path& p) {
            struct stat st {};
            ::stat(p.c_str(), &st);
            return st;
        };
        for (const char* made : {"aulas", "users", "historico"}) {
            SCOPED_TRACE(made);
            if (row.folder == std::string("pendrive") && std::string(made) == "aulas")
                continue; // the copy's own, not made by the program
            const struct stat st = modeOf(data / made);
            EXPECT_EQ(st.st_mode & 07777, row.wantFolder & ~(row.folderMode & S_ISGID ? 0 : row.umask));
            EXPECT_TRUE(!groupShows || (st.st_gid == group) == ((row.folderMode & S_ISGID) != 0));
        }
        for (const char* made : {"users/Ana", "historico/Ana.csv"}) {
            SCOPED_TRACE(made);
            const struct stat st = modeOf(data / made);
            EXPECT_EQ(st.st_mode & 07777, row.wantFile & ~(row.folderMode & S_ISGID ? 0 : row.umask));
            EXPECT_TRUE(!groupShows || (st.st_gid == group) == ((row.folderMode & S_ISGID) != 0));
        }
    }
    SetProgramFolder(root.path());
}
#endif

TEST(DataEnvironment, PerUserFolderFollowsTheSystemsRules) {
    const auto set = [](const char* name, const std::string& value) {
#ifdef _WIN32
        _putenv_s(name, value.c_str());
#else
        if (value.empty())
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
#endif
    };
    const auto keep = [](const char* name) {
        const char* v = std::getenv(name);
        return std::string(v ? v : "");
    };
    const std::string xdg = keep("XDG_DATA_HOME"), home = keep("HOME"), named = keep(kDataFolderVariable),
                      appData = keep("APPDATA");
    set(kDataFolderVariable, "escola");
#ifdef _WIN32
    set("APPDATA", "C:\\Users\\ana\\AppData\\Roaming");
    EXPECT_EQ(SystemDataEnvironment().userFolder, fs::path("C:\\Users\\ana\\AppData\\Roaming"));
    EXPECT_TRUE(SystemDataEnvironment().sharedFolder.empty());
#else
    set("HOME", "/home/ana");
    set("XDG_DATA_HOME", "/dados/ana");
    EXPECT_EQ(SystemDataEnvironment().userFolder, fs::path("/dados/ana"));
    set("XDG_DATA_HOME", "relativa"); // not absolute: to be ignored
    EXPECT_EQ(SystemDataEnvironment().userFolder, fs::path("/home/ana/.local/share"));
    set("XDG_DATA_HOME", "");
    EXPECT_EQ(SystemDataEnvironment().userFolder, fs::path("/home/ana/.local/share"));
    EXPECT_TRUE(SystemDataEnvironment().sharedFolder.is_absolute());
#endif
    EXPECT_EQ(SystemDataEnvironment().namedFolder, "escola");
    EXPECT_TRUE(SystemDataEnvironment().installedData.is_relative());
    EXPECT_TRUE(SystemDataEnvironment().installedModules.is_relative());
#ifdef _WIN32
    EXPECT_TRUE(fs::exists(ExecutableFolder() / "core_tests.exe"));
#else
    EXPECT_TRUE(fs::exists(ExecutableFolder() / "core_tests"));
#endif
    set("XDG_DATA_HOME", xdg);
    set("HOME", home);
    set(kDataFolderVariable, named);
    set("APPDATA", appData);
}

} // namespace
