#pragma once

#include <QString>

#include "catalogue/CatalogFile.h"
#include "catalogue/EngineDescription.h"

// The catalogue's fixed names as texts, for the sources that look values up
// by them and name them in messages.
namespace CatalogNames
{
inline const QString kLanguagesSection = QString::fromUtf16(kCatalogLanguagesSection);
inline const QString kLanguagesKey = QString::fromUtf16(kCatalogLanguagesKey);
inline const QString kCategoriesSection = QString::fromUtf16(kCatalogCategoriesSection);
inline const QString kNameKey = QString::fromUtf16(kCatalogNameKey);
inline const QString kUrlKey = QString::fromUtf16(kCatalogUrlKey);
inline const QString kEncodingKey = QString::fromUtf16(kEngineEncodingKey);
inline const QString kMethodKey = QString::fromUtf16(kEngineMethodKey);
inline const QString kPostDataKey = QString::fromUtf16(kEnginePostDataKey);

// A name in double quotes, as messages give it.
QString Quoted(const QString &name);
} // namespace CatalogNames
