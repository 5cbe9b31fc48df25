// What the drive list and the directory list show and where their entries lead, apart from
// the platform: the Windows controls only enumerate drives and folders and draw these entries.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace glimmora {

// One line of the directory list: the folders of the path from the root down are open, the
// current folder's subfolders below them closed.
struct FolderEntry {
    std::wstring text;
    int level;  // indentation steps: 0 for the root
    bool open;
};

// Only ASCII letters are lowered: drive letters are ASCII, and no other character lower-cases to
// one of ".she".
wchar_t lowerAscii(wchar_t c);

// "c: [label]", "C:" or "C:\skins" give "c:"; a text that names no drive gives "".
std::wstring driveOf(const std::wstring& text);
// A drive alone, as the drive list's entries name one ("c: [label]", "c:"), rather than a folder.
bool isDriveText(const std::wstring& text);
// The drive list's entry: "c: [label]", or "c:" when the drive has no label.
std::wstring driveEntryText(wchar_t letter, const std::wstring& label);

// The path as the directory list reports it: no trailing backslash except at a drive's root.
std::wstring directoryPath(std::wstring path);

// The folder a path of directoryPath's form lies in; "" for a drive's root.
std::wstring parentFolder(const std::wstring& path);

// Alphabetical without regard to case; equal texts apart from case keep a stable order.
bool lessIgnoringCase(const std::wstring& a, const std::wstring& b);

std::vector<FolderEntry> folderEntries(const std::wstring& path, std::vector<std::wstring> subfolders);
// The entry that stands for the path itself: the last open one.
std::size_t currentEntry(const std::vector<FolderEntry>& entries);
// The folder an entry of folderEntries(path, ...) stands for.
std::wstring pathOfEntry(const std::wstring& path, const std::vector<FolderEntry>& entries, std::size_t index);

}  // namespace glimmora
