#pragma once

#include "sim/frames.h"

#include <termios.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The panel's end of the line, in plain POSIX: the slave opened raw at a speed.
class SerialLine
{
public:
    explicit SerialLine(const std::string &path, speed_t speed = B19200);
    ~SerialLine();
    SerialLine(const SerialLine &) = delete;
    SerialLine &operator=(const SerialLine &) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void setSpeed(speed_t speed);
    bool setArbitrarySpeed(int baudRate);
    void write(const Bytes &bytes);
    // Reads until `count` bytes came or `timeout` passed; returns what came.
    Bytes read(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(2));
    // Writes a command and reads one reply's worth of bytes.
    Bytes ask(const karvsim::CommandFrame &command);

private:
    int fd_ = -1;
};

karvsim::CommandFrame command(std::uint8_t code, std::uint8_t p0 = 0, const Bytes &p = {},
                              std::uint8_t address = 0x01);
Bytes bytesOf(const karvsim::CommandFrame &command);
