#include "catalogue/TextCut.h"

#include <algorithm>

QString CutToLength(const QString &text, qsizetype maxLength)
{
    if (text.size() <= maxLength)
        return text;
    qsizetype length = std::max<qsizetype>(maxLength, 0);
    if (length > 0 && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}
