#pragma once

#include <QString>

#include <stdexcept>

// A text that does not hold the number it is read as. Not handled where it is
// raised: the top-level error report shows what() to the operator.
class EConvertError : public std::runtime_error
{
public:
    explicit EConvertError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};
