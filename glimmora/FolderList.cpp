#include "glimmora/FolderList.h"

#include <algorithm>

namespace glimmora {
namespace {

bool isLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool startsWithDrive(const std::wstring& text) { return text.size() >= 2 && isLetter(text[0]) && text[1] == L':'; }

// "C:\a\b" gives "C:\", "a", "b".
std::vector<std::wstring> pathParts(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::size_t start = path.find(L'\\');
    if (start == std::wstring::npos) return {path};
    parts.push_back(path.substr(0, start + 1));
    for (++start; start < path.size();) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::wstring joined(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

}  // namespace

wchar_t lowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring driveOf(const std::wstring& text) {
    if (!startsWithDrive(text)) return L"";
    return std::wstring{lowerAscii(text[0]), L':'};
}

bool isDriveText(const std::wstring& text) {
    return startsWithDrive(text) && (text.size() == 2 || text[2] == L' ');
}

std::wstring driveEntryText(wchar_t letter, const std::wstring& label) {
    std::wstring text{lowerAscii(letter), L':'};
    if (!label.empty()) text += L" [" + label + L"]";
    return text;
}

std::wstring directoryPath(std::wstring path) {
    // The platform keeps the case it was given: "c:" resolves to "c:\...".
    if (startsWithDrive(path) && path[0] >= L'a' && path[0] <= L'z') path[0] = static_cast<wchar_t>(path[0] - 32);
    while (path.size() > 1 && path.back() == L'\\' && !(path.size() == 3 && startsWithDrive(path))) path.pop_back();
    if (path.size() == 2 && startsWithDrive(path)) path += L'\\';
    return path;
}

std::wstring parentFolder(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size()) return L"";
    // The drive's root keeps its backslash.
    return path.substr(0, slash == 2 && startsWithDrive(path) ? slash + 1 : slash);
}

bool lessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return lowerAscii(x) < lowerAscii(y); });
}

std::vector<FolderEntry> folderEntries(const std::wstring& path, std::vector<std::wstring> subfolders) {
    std::vector<FolderEntry> entries;
    const std::vector<std::wstring> parts = pathParts(path);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::wstring text = parts[i];
        if (i == 0 && startsWithDrive(text)) text = driveOf(text) + text.substr(2);
        entries.push_back({text, static_cast<int>(i), true});
    }
    std::stable_sort(subfolders.begin(), subfolders.end(), lessIgnoringCase);
    for (std::wstring& name : subfolders) entries.push_back({std::move(name), static_cast<int>(parts.size()), false});
    return entries;
}

std::size_t currentEntry(const std::vector<FolderEntry>& entries) {
    std::size_t current = 0;
    while (current + 1 < entries.size() && entries[current + 1].open) ++current;
    return current;
}

std::wstring pathOfEntry(const std::wstring& path, const std::vector<FolderEntry>& entries, std::size_t index) {
    if (index >= entries.size()) return path;
    if (!entries[index].open) return joined(path, entries[index].text);
    const std::vector<std::wstring> parts = pathParts(path);
    std::wstring result = parts[0];
    for (std::size_t i = 1; i <= index && i < parts.size(); ++i) result = joined(result, parts[i]);
    return result;
}

}  // namespace glimmora
