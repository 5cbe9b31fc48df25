// Files and folders the tests make under the temporary folder, and take away again.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// A path in the temporary folder whose name ends in this test program's process id.
std::wstring temporaryPath(const std::wstring& name);
// Makes an empty file, or empties the one there.
void makeEmptyFile(const std::wstring& path);
// Removes a folder with everything in it.
void removeTree(const std::wstring& folder);
// A file's bytes, and its lines without their line feeds; nothing when it cannot be read.
std::string readFile(const std::wstring& path);
std::vector<std::string> readLines(const std::wstring& path);

// A folder of its own under the temporary folder, removed with all in it at the end.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name);
    ~TempFolder() { removeTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

}  // namespace e2e
