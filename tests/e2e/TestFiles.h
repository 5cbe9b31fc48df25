// Files and folders the tests make under the temporary folder, and take away again.
#pragma once

#include <string>

namespace e2e {

// A path in the temporary folder whose name ends in this test program's process id.
std::wstring temporaryPath(const std::wstring& name);
// Makes an empty file, or empties the one there.
void makeEmptyFile(const std::wstring& path);
// Removes a folder with everything in it.
void removeTree(const std::wstring& folder);

}  // namespace e2e
