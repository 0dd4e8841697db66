// The names a plain search of a folder finds, in its order: for the Wine
// tests that compare what a collector shows with the files behind it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

inline std::vector<std::string> folderNames(const std::string& folder, const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE first = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (first == INVALID_HANDLE_VALUE)
        return names;
    const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> search(first, &FindClose);
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search.get(), &found));
    return names;
}
