#include "platform/FileSearch.h"

#include <cstring>

namespace kel {

FileSearch::FileSearch(const std::string& pattern)
{
    // Room for any name first, so that taking a name cannot fail while the
    // search is open.
    name_.reserve(kMaxPath);
    char fileName[kMaxPath] = {};
    handle_ = platform().findFirstFile(pattern.c_str(), fileName);
    found_ = handle_ != 0;
    if (found_)
        take(fileName);
}

FileSearch::~FileSearch()
{
    if (handle_ != 0)
        platform().findClose(handle_);
}

void FileSearch::next()
{
    char fileName[kMaxPath] = {};
    found_ = handle_ != 0 && platform().findNextFile(handle_, fileName);
    if (found_)
        take(fileName);
}

void FileSearch::take(const char* fileName)
{
    const void* nul = std::memchr(fileName, 0, kMaxPath);
    name_.assign(fileName, nul ? static_cast<const char*>(nul) - fileName : kMaxPath);
}

}  // namespace kel
