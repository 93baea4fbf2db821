#pragma once

#include <QString>

// `text` cut to at most `maxLength` characters (UTF-16 code units). A cut that
// would split a surrogate pair goes before the pair, so no half of a
// character is ever kept. The catalogue's values and the result pages' texts
// are cut by this one rule.
QString CutToLength(const QString &text, qsizetype maxLength);
