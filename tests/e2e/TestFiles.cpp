#include "tests/e2e/TestFiles.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace e2e {

std::wstring temporaryPath(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name + L"-" + std::to_wstring(GetCurrentProcessId());
}

void makeEmptyFile(const std::wstring& path) {
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

void removeTree(const std::wstring& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> readLines(const std::wstring& path) {
    std::istringstream in(readFile(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TempFolder::TempFolder(const std::wstring& name) : path_(temporaryPath(name)) {
    CreateDirectoryW(path_.c_str(), nullptr);
}

}  // namespace e2e
