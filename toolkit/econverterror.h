#pragma once

#include <stdexcept>

// A text that does not convert to the number it should hold. Its message is
// UTF-8 and is what the operator reads in the top-level error report.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
