#include "catalogue/CatalogPlace.h"

SCatalogPlace::ELevel SCatalogPlace::Level() const
{
    if (nLanguage < 0)
        return ELevel::None;
    if (nCategory < 0)
        return ELevel::Language;
    return nEngine < 0 ? ELevel::Category : ELevel::Engine;
}

SCatalogPlace SCatalogPlace::Parent() const
{
    switch (Level()) {
    case ELevel::Engine:
        return {nLanguage, nCategory, -1};
    case ELevel::Category:
        return {nLanguage, -1, -1};
    default:
        return {};
    }
}

int SCatalogPlace::Index() const
{
    switch (Level()) {
    case ELevel::Engine:
        return nEngine;
    case ELevel::Category:
        return nCategory;
    default:
        return nLanguage;
    }
}

SCatalogPlace SCatalogPlace::WithIndex(int index) const
{
    SCatalogPlace place = *this;
    switch (Level()) {
    case ELevel::Engine:
        place.nEngine = index;
        break;
    case ELevel::Category:
        place.nCategory = index;
        break;
    default:
        place.nLanguage = index;
        break;
    }
    return place;
}
