#include "platform/FileRemoval.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace
{
bool removeEntries(int folder);

// Removes the entry `name` of the open folder `folder`: a file or a link at
// once, a folder once what it holds is gone. Each folder is opened through
// its parent's descriptor and never through a link, so a folder replaced by a
// link meanwhile is not entered.
bool removeEntry(int folder, const char *name)
{
    if (::unlinkat(folder, name, 0) == 0 || errno == ENOENT)
        return true;
    if (errno != EISDIR && errno != EPERM) // a folder: EISDIR on Linux, EPERM elsewhere
        return false;
    const int inner = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (inner < 0)
        return false;
    const bool emptied = removeEntries(inner);
    ::close(inner);
    return emptied && (::unlinkat(folder, name, AT_REMOVEDIR) == 0 || errno == ENOENT);
}

// The names are read first and removed after, so the listing does not change
// under the reader.
bool removeEntries(int folder)
{
    const int reader = ::dup(folder);
    DIR *listing = reader >= 0 ? ::fdopendir(reader) : nullptr;
    if (!listing) {
        if (reader >= 0)
            ::close(reader);
        return false;
    }
    std::vector<std::string> names;
    while (const dirent *entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    bool removed = true;
    for (const std::string &name : names)
        removed = removeEntry(folder, name.c_str()) && removed;
    return removed;
}
} // namespace

bool RemoveWithoutFollowingLinks(const QString &path)
{
    return removeEntry(AT_FDCWD, QFile::encodeName(path).constData());
}
