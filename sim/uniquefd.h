#pragma once

#include <unistd.h>

#include <utility>

namespace karvsim {

// Owns one file descriptor and closes it.
class UniqueFd
{
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd)
        : fd_(fd)
    {
    }
    UniqueFd(UniqueFd &&other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        UniqueFd(std::move(other)).swap(*this);
        return *this;
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;
    ~UniqueFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void swap(UniqueFd &other) noexcept { std::swap(fd_, other.fd_); }

private:
    int fd_ = -1;
};

} // namespace karvsim
