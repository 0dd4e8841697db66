// One search of the platform's file search, closed when it goes out of scope.
#pragma once

#include "platform/Platform.h"

#include <string>

namespace kel {

class FileSearch {
public:
    // Starts the search; the first match, if any, becomes the current name.
    explicit FileSearch(const std::string& pattern);
    ~FileSearch();
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    // True while there is a current match.
    bool found() const { return found_; }
    // The file name of the current match, without its folder.
    const std::string& name() const { return name_; }
    // Moves to the next match; found() tells whether there was one.
    void next();

private:
    void take(const char* fileName);

    FindHandle handle_ = 0;
    bool found_ = false;
    std::string name_;
};

}  // namespace kel
