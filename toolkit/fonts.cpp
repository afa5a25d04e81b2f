#include "toolkit/fonts.h"

namespace Toolkit {

namespace {

QFont sansSerif(int pixelSize)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QFont windowFont()
{
    return sansSerif(11);
}

QFont commandBytesFont()
{
    return sansSerif(16);
}

} // namespace Toolkit
