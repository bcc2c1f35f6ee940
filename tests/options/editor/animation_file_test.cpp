// SPDX-License-Identifier: GPL-3.0-or-later
// The editor and the disk: a missing file is made at the first save, what cannot be read is
// refused without blocking and without losing the file open, a failed save keeps both the old
// file and the edits, and a file changed by someone else is not overwritten without asking.

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "editor/animation_editor.h"
#include "support/ordinary_user.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

bool leftTemporaryFiles(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".lumiere-", 0) == 0) return true;
    }
    return false;
}

TEST(AnimationFile, MissingFileOpensEmptyAndIsMadeAtTheFirstSave) {
    TempFolder folder;
    AnimationEditor editor;
    ASSERT_TRUE(editor.open(folder.file("animation3.txt")));
    EXPECT_EQ(editor.rows(), 0);
    EXPECT_FALSE(editor.modified());
    EXPECT_NE(editor.status().find(fromUtf8("créé")), std::string::npos);
    editor.insertStep();
    editor.switchCell();
    ASSERT_EQ(editor.save(), AnimationEditor::SaveResult::Saved);
    EXPECT_EQ(folder.read("animation3.txt"), "128\r\nEND\r\n");
    EXPECT_FALSE(editor.modified());
}

TEST(AnimationFile, WhatCannotBeReadIsRefusedAndTheOpenFileStays) {
    TempFolder folder;
    folder.write("animation1.txt", "5\r\nEND\r\n");
    std::filesystem::create_directory(folder.file("dossier.txt"));
    ASSERT_EQ(::mkfifo(folder.file("tube.txt").c_str(), 0600), 0);
    {  // one byte more than a load reads, as a hole: no disk space taken
        const int fd = ::open(folder.file("grand.txt").c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 16 * 1024 * 1024 + 1), 0);
        ::close(fd);
    }
    AnimationEditor editor;
    ASSERT_TRUE(editor.open(folder.file("animation1.txt")));
    editor.switchCell();
    for (const char* name : {"dossier.txt", "tube.txt", "grand.txt"}) {
        EXPECT_FALSE(editor.open(folder.file(name))) << name;  // the pipe does not block
        EXPECT_TRUE(editor.statusIsError()) << name;
        EXPECT_NE(editor.status().find(name), std::string::npos) << name;
        EXPECT_EQ(editor.fileName(), "animation1.txt");
        EXPECT_EQ(editor.document().bytes(), "133\r\nEND\r\n") << name;  // the edit is still there
    }
    editor.open(folder.file("grand.txt"));
    EXPECT_NE(editor.status().find("16 Mo"), std::string::npos);
    editor.open(folder.file("dossier.txt"));
    EXPECT_NE(editor.status().find("dossier"), std::string::npos);
}

TEST(AnimationFile, ReadOnlyFolderKeepsFileAndEdits) {
    TempFolder folder;
    folder.write("animation1.txt", "5\r\nEND\r\n");
    std::filesystem::permissions(folder.path(), std::filesystem::perms(0755));
    ::chmod(folder.file("animation1.txt").c_str(), 0644);
    ::chmod(folder.path().c_str(), 0555);
    // Root writes anywhere: the save runs as an ordinary user.
    const int result = test::asOrdinaryUser([&] {
        AnimationEditor editor;
        if (!editor.open(folder.file("animation1.txt"))) return 2;
        editor.switchCell();
        EXPECT_EQ(editor.save(), AnimationEditor::SaveResult::Failed);
        EXPECT_NE(editor.status().find(fromUtf8("accès refusé")), std::string::npos);
        EXPECT_NE(editor.status().find("toujours"), std::string::npos);
        EXPECT_TRUE(editor.modified());
        return 0;
    });
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(folder.read("animation1.txt"), "5\r\nEND\r\n");
    EXPECT_FALSE(leftTemporaryFiles(folder.path()));
}

TEST(AnimationFile, FullDiskKeepsTheOldFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small disk needs root";
    TempFolder folder;
    const std::string disk = folder.file("disque");
    std::filesystem::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "no tmpfs here";
    }
    const std::string path = disk + "/animation1.txt";
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fputs("5\r\nEND\r\n", file);
        std::fclose(file);
    }
    AnimationEditor editor;
    ASSERT_TRUE(editor.open(path));
    {  // the rest of the disk taken
        std::FILE* filler = std::fopen((disk + "/filler").c_str(), "wb");
        const std::string chunk(512, 'f');
        for (int i = 0; i < 64; ++i) std::fwrite(chunk.data(), 1, chunk.size(), filler);
        std::fclose(filler);
    }
    for (int i = 0; i < 200; ++i) editor.duplicateStep();  // some 1 kB to write
    editor.switchCell();
    EXPECT_EQ(editor.save(), AnimationEditor::SaveResult::Failed);
    EXPECT_NE(editor.status().find("disque plein"), std::string::npos);
    std::filesystem::remove(disk + "/filler");
    AnimationEditor reader;
    ASSERT_TRUE(reader.open(path));
    EXPECT_EQ(reader.document().bytes(), "5\r\nEND\r\n");
    EXPECT_FALSE(leftTemporaryFiles(disk));
    EXPECT_EQ(editor.save(), AnimationEditor::SaveResult::Saved);  // room again: it goes through
    ::umount2(disk.c_str(), MNT_DETACH);
}

TEST(AnimationFile, ChangedOnDiskIsNotOverwrittenWithoutAsking) {
    TempFolder folder;
    folder.write("animation1.txt", "5\r\nEND\r\n");
    AnimationEditor editor;
    ASSERT_TRUE(editor.open(folder.file("animation1.txt")));
    editor.switchCell();
    EXPECT_FALSE(editor.changedOnDisk());

    // Touched without a change of content: nothing would be lost.
    const auto path = folder.file("animation1.txt");
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    EXPECT_FALSE(editor.changedOnDisk());

    folder.write("animation1.txt", "6\r\nEND\r\n");  // same size, other bytes
    EXPECT_TRUE(editor.changedOnDisk());
    EXPECT_EQ(editor.save(), AnimationEditor::SaveResult::ChangedOnDisk);
    EXPECT_EQ(folder.read("animation1.txt"), "6\r\nEND\r\n");
    EXPECT_EQ(editor.save(true), AnimationEditor::SaveResult::Saved);
    EXPECT_EQ(folder.read("animation1.txt"), "133\r\nEND\r\n");
    EXPECT_FALSE(editor.changedOnDisk());  // what it saved is what it compares with

    std::filesystem::remove(path);  // removed by someone else
    EXPECT_TRUE(editor.changedOnDisk());
    AnimationEditor fresh;  // a file made by someone else after a missing one was opened
    ASSERT_TRUE(fresh.open(folder.file("animation2.txt")));
    folder.write("animation2.txt", "1\r\n");
    EXPECT_TRUE(fresh.changedOnDisk());
}

}  // namespace
}  // namespace lumiere
