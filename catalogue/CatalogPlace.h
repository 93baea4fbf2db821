#pragma once

// Where an item of the catalogue's tree stands: a language, one of its
// categories, or one of a category's engines, by their indexes in the lists
// that hold them (-1 for the levels below the item's own).
struct SCatalogPlace
{
    int nLanguage = -1;
    int nCategory = -1;
    int nEngine = -1;

    enum class ELevel
    {
        None,
        Language,
        Category,
        Engine,
    };
    ELevel Level() const;
    // The place one level up; a language's is None.
    SCatalogPlace Parent() const;
    // The index of the item in the list that holds it.
    int Index() const;
    SCatalogPlace WithIndex(int index) const;

    friend bool operator==(const SCatalogPlace &, const SCatalogPlace &) = default;
};
