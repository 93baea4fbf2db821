#include "catalogue/CatalogNames.h"

QString CatalogNames::Quoted(const QString &name)
{
    return u'"' + name + u'"';
}
