#include "glimmora/FolderList.h"

#include <gtest/gtest.h>

namespace glimmora {
namespace {

TEST(FolderList, DriveTextsNameTheirDriveInLowerCase) {
    const struct {
        const wchar_t* text;
        const wchar_t* drive;
        bool driveAlone;
    } cases[] = {
        {L"c: [system]", L"c:", true}, {L"C:", L"c:", true},          {L"z:", L"z:", true},
        {L"C:\\skins", L"c:", false},   {L"C:\\", L"c:", false},       {L"skins", L"", false},
        {L"\\\\server\\share", L"", false}, {L"", L"", false},         {L"1: [x]", L"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(driveOf(c.text), c.drive) << c.text;
        EXPECT_EQ(isDriveText(c.text), c.driveAlone) << c.text;
    }
    EXPECT_EQ(driveEntryText(L'C', L"系统"), L"c: [系统]");
    EXPECT_EQ(driveEntryText(L'a', L""), L"a:");
}

TEST(FolderList, PathsKeepNoTrailingBackslashButAtADrivesRootAndLieInTheirParent) {
    const struct {
        const wchar_t* given;
        const wchar_t* path;
        const wchar_t* parent;
    } cases[] = {
        {L"C:\\skins\\", L"C:\\skins", L"C:\\"}, {L"C:\\", L"C:\\", L""},          {L"C:", L"C:\\", L""},
        {L"C:\\a\\b\\\\", L"C:\\a\\b", L"C:\\a"}, {L"c:\\skins", L"C:\\skins", L"C:\\"},
        {L"z:", L"Z:\\", L""},  {L"C:\\skins\\冬季", L"C:\\skins\\冬季", L"C:\\skins"},
        {L"Z:\\tmp\\a b", L"Z:\\tmp\\a b", L"Z:\\tmp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(directoryPath(c.given), c.path) << c.given;
        EXPECT_EQ(parentFolder(c.path), c.parent) << c.path;
    }
    EXPECT_EQ(parentFolder(L"skins"), L"");
}

TEST(FolderList, ShowsThePathFromTheRootDownThenTheSubfoldersSorted) {
    // Without regard to case: "autumn" before "Blue".
    const auto entries = folderEntries(L"C:\\Program Files\\Skins", {L"winter", L"Blue", L"中文", L"autumn"});
    const std::vector<FolderEntry> expected = {
        {L"c:\\", 0, true},     {L"Program Files", 1, true}, {L"Skins", 2, true}, {L"autumn", 3, false},
        {L"Blue", 3, false},   {L"winter", 3, false},       {L"中文", 3, false},
    };
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(entries[i].text, expected[i].text) << i;
        EXPECT_EQ(entries[i].level, expected[i].level) << i;
        EXPECT_EQ(entries[i].open, expected[i].open) << i;
    }
    EXPECT_EQ(currentEntry(entries), 2u);
}

TEST(FolderList, EveryEntryLeadsToItsFolder) {
    const struct {
        const wchar_t* path;
        std::vector<std::wstring> subfolders;
        std::vector<std::wstring> leadsTo;
    } cases[] = {
        {L"C:\\a\\b", {L"c"}, {L"C:\\", L"C:\\a", L"C:\\a\\b", L"C:\\a\\b\\c"}},
        {L"Z:\\", {L"tmp", L"Etc"}, {L"Z:\\", L"Z:\\Etc", L"Z:\\tmp"}},
        {L"D:\\only", {}, {L"D:\\", L"D:\\only"}},
    };
    for (const auto& c : cases) {
        const auto entries = folderEntries(c.path, c.subfolders);
        ASSERT_EQ(entries.size(), c.leadsTo.size()) << c.path;
        for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(pathOfEntry(c.path, entries, i), c.leadsTo[i]);
        EXPECT_EQ(pathOfEntry(c.path, entries, entries.size()), c.path) << "past the end: stay";
    }
}

}  // namespace
}  // namespace glimmora
