#include "sim/publishedlink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace karvsim {

namespace {

std::string linkTarget(const std::string &path)
{
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    target.resize(length < 0 ? 0 : static_cast<std::size_t>(length));
    return target;
}

} // namespace

PublishedLink::PublishedLink(const std::string &target, const std::string &path)
    : target_(target)
    , path_(path)
{
    struct stat existing{};
    if (::lstat(path_.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode))
            throw std::system_error(EEXIST, std::generic_category(), path_ + " is not a symbolic link");
        ::unlink(path_.c_str());
    }
    if (::symlink(target_.c_str(), path_.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "symlink " + path_);
}

PublishedLink::~PublishedLink()
{
    // Another instance may have taken the path over meanwhile; its link stays.
    if (linkTarget(path_) == target_)
        ::unlink(path_.c_str());
}

} // namespace karvsim
