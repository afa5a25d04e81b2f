#pragma once

#include <string>

namespace karvsim {

// A symbolic link that points at the unit's device for as long as it lives.
// A link left behind by an earlier run is replaced; any other file at the
// path is left alone and refused.
class PublishedLink
{
public:
    // Throws std::system_error when the link cannot be made.
    PublishedLink(const std::string &target, const std::string &path);
    ~PublishedLink();
    PublishedLink(const PublishedLink &) = delete;
    PublishedLink &operator=(const PublishedLink &) = delete;

private:
    std::string target_;
    std::string path_;
};

} // namespace karvsim
