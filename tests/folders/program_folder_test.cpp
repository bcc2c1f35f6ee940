// SPDX-License-Identifier: GPL-3.0-or-later
// The program folder rule on temporary folders: portable, XDG created and filled, the user's
// edits kept, --dossier, and every refusal as a French message instead of a crash.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <filesystem>

#include "folders/program_folder.h"
#include "support/temp_folder.h"

namespace lumiere::folders {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// An installed Lumière (<root>/usr/bin, <root>/usr/share/lumiere) and a home folder.
class Install {
public:
    Install() {
        fs::create_directories(bin());
        fs::create_directories(share() + "/sous-dossier");
        fs::create_directories(home());
        root_.write("usr/share/lumiere/param.ini", "[Port]\r\nCOM=1\r\n");
        root_.write("usr/share/lumiere/animation1.txt", "1\r\n2\r\nEND\r\n");
        root_.write("usr/share/lumiere/pupitre.bmp", std::string(70000, 'B'));
        root_.write("usr/share/lumiere/.cache", "not shipped");
    }
    std::string bin() const { return root_.file("usr/bin"); }
    std::string share() const { return root_.file("usr/share/lumiere"); }
    std::string home() const { return root_.file("home/alice"); }
    std::string userFolder() const { return home() + "/.local/share/lumiere"; }
    Environment env() const { return {bin(), "", home()}; }
    const TempFolder& root() const { return root_; }

private:
    TempFolder root_;
};

std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

unsigned modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(ProgramFolder, ParamIniBesideTheProgramMakesItPortable) {
    Install install;
    install.root().write("usr/bin/param.ini", "[Port]\r\nCOM=2\r\n");
    const ProgramFolder folder = resolveProgramFolder(install.env(), "");
    ASSERT_TRUE(folder.ok()) << folder.error;
    EXPECT_EQ(folder.kind, FolderKind::Portable);
    EXPECT_EQ(folder.path, install.bin());
    EXPECT_TRUE(folder.copied.empty());
    EXPECT_FALSE(fs::exists(install.home() + "/.local"));
}

TEST(ProgramFolder, TheUserFolderIsCreatedPrivateAndFilledWithTheShippedFiles) {
    Install install;
    const ProgramFolder folder = resolveProgramFolder(install.env(), "");
    ASSERT_TRUE(folder.ok()) << folder.error;
    EXPECT_EQ(folder.kind, FolderKind::User);
    EXPECT_EQ(folder.path, install.userFolder());
    EXPECT_EQ(folder.copied, (Names{"animation1.txt", "param.ini", "pupitre.bmp"}));
    EXPECT_TRUE(folder.notices.empty());
    for (const std::string& name : folder.copied) {
        EXPECT_EQ(read(folder.path + "/" + name), read(install.share() + "/" + name)) << name;
        EXPECT_EQ(modeOf(folder.path + "/" + name), 0644u) << name;
    }
    EXPECT_EQ(modeOf(install.home() + "/.local"), 0700u);
    EXPECT_EQ(modeOf(folder.path), 0700u);
    // Hidden files and subfolders are not shipped, and no temporary copy is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 3);
}

TEST(ProgramFolder, TheUsersEditsAreKeptAndOnlyMissingFilesComeBack) {
    Install install;
    ASSERT_TRUE(resolveProgramFolder(install.env(), "").ok());
    const std::string folderPath = install.userFolder();
    std::ofstream(folderPath + "/param.ini", std::ios::binary) << "[Port]\r\nCOM=7\r\n";
    fs::remove(folderPath + "/animation1.txt");
    install.root().write("usr/share/lumiere/exemple.txt", "; new in this version\r\n");

    const ProgramFolder again = resolveProgramFolder(install.env(), "");
    ASSERT_TRUE(again.ok()) << again.error;
    EXPECT_EQ(again.copied, (Names{"animation1.txt", "exemple.txt"}));
    EXPECT_EQ(read(folderPath + "/param.ini"), "[Port]\r\nCOM=7\r\n");
}

TEST(ProgramFolder, XdgDataHomeWinsWhenAbsoluteAndIsIgnoredWhenRelative) {
    Install install;
    Environment env = install.env();
    env.xdgDataHome = install.root().file("xdg/data/");
    const ProgramFolder folder = resolveProgramFolder(env, "");
    ASSERT_TRUE(folder.ok()) << folder.error;
    EXPECT_EQ(folder.path, install.root().file("xdg/data/lumiere"));
    EXPECT_EQ(folder.copied.size(), 3u);

    env.xdgDataHome = "relative/data";
    EXPECT_EQ(resolveProgramFolder(env, "").path, install.userFolder());
}

TEST(ProgramFolder, AnExplicitFolderWinsAndMustExist) {
    Install install;
    install.root().write("usr/bin/param.ini", "");
    fs::create_directories(install.root().file("spectacle"));
    ProgramFolder folder = resolveProgramFolder(install.env(), install.root().file("spectacle/"));
    ASSERT_TRUE(folder.ok()) << folder.error;
    EXPECT_EQ(folder.kind, FolderKind::Explicit);
    EXPECT_EQ(folder.path, install.root().file("spectacle"));
    EXPECT_TRUE(fs::is_empty(folder.path));  // a folder the user named is left as it is
    ASSERT_EQ(folder.notices.size(), 1u);    // and what happens without its param.ini is said
    EXPECT_NE(folder.notices[0].find("n’a pas de param.ini"), std::string::npos);

    // A folder nothing can be written in, and with no param.ini, is of no use.
    folder = resolveProgramFolder(install.env(), "/proc");
    EXPECT_FALSE(folder.ok());
    EXPECT_NE(folder.error.find("ne peut rien y écrire"), std::string::npos) << folder.error;

    const std::string missing = install.root().file("absent");
    folder = resolveProgramFolder(install.env(), missing);
    EXPECT_EQ(folder.error,
              "Le dossier « " + missing + " » n’existe pas (option --dossier) : créez-le d’abord.");
    EXPECT_FALSE(fs::exists(missing));

    folder = resolveProgramFolder(install.env(), install.root().file("usr/bin/param.ini"));
    EXPECT_EQ(folder.error, "« " + install.root().file("usr/bin/param.ini") +
                                " » n’est pas un dossier (option --dossier).");
}

TEST(ProgramFolder, AnUnwritableDataHomeIsAMessageNotACrash) {
    Install install;
    const std::string share = install.home() + "/.local/share";
    fs::create_directories(share);
    ::chmod(share.c_str(), 0555);
    Environment env = install.env();
    // Root ignores the folder's permission; refuse as the kernel refuses everyone else.
    env.makeFolder = [&](const std::string& path, unsigned mode) {
        return path.rfind(share + "/", 0) == 0 ? EACCES : makeOneFolder(path, mode);
    };
    const ProgramFolder folder = resolveProgramFolder(env, "");
    ::chmod(share.c_str(), 0755);
    EXPECT_FALSE(folder.ok());
    EXPECT_EQ(folder.error, "Impossible de créer le dossier du programme « " +
                                install.userFolder() +
                                " » : accès refusé. Indiquez un autre dossier avec --dossier "
                                "DOSSIER.");

    fs::remove_all(share);
    install.root().write("home/alice/.local/share", "a file where the folder should be");
    EXPECT_NE(resolveProgramFolder(install.env(), "").error.find("chemin invalide"),
              std::string::npos);

    Environment homeless = install.env();
    homeless.home.clear();
    EXPECT_NE(resolveProgramFolder(homeless, "").error.find("HOME n’est pas défini"),
              std::string::npos);
}

TEST(ProgramFolder, MissingShippedFilesLeaveAUsableFolderAndANotice) {
    Install install;
    fs::remove_all(install.share());
    const ProgramFolder folder = resolveProgramFolder(install.env(), "");
    ASSERT_TRUE(folder.ok()) << folder.error;
    EXPECT_TRUE(fs::is_directory(folder.path));
    ASSERT_EQ(folder.notices.size(), 1u);
    EXPECT_EQ(folder.notices[0], "Les fichiers livrés avec Lumière sont introuvables (« " +
                                     install.share() + " ») : le dossier « " +
                                     install.userFolder() +
                                     " » n’en reçoit pas. Réinstallez Lumière.");
}

TEST(ProgramFolder, AFailedCopyIsSaidOnceAndLeavesNoHalfFile) {
    Install install;
    // A size limit applies to root as well: the 70 kB picture cannot be written.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const ProgramFolder folder = resolveProgramFolder(install.env(), "");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);

    ASSERT_TRUE(folder.ok()) << folder.error;
    EXPECT_EQ(folder.copied, (Names{"animation1.txt", "param.ini"}));
    EXPECT_EQ(folder.notices, Names{"Impossible de copier « pupitre.bmp » dans « " +
                                    install.userFolder() + " » : fichier trop grand."});
    EXPECT_FALSE(fs::exists(install.userFolder() + "/pupitre.bmp"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace lumiere::folders
