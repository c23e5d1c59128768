#include <siteconfig/PropertyInsData.h>

namespace CONFIG {

PropertyInsData::PropertyInsData(PropertyInsData&& other) noexcept
    : compType(other.compType),
      category(other.category),
      initName(other.initName),
      sectionShape(other.sectionShape),
      graphLibId(other.graphLibId),
      params(std::move(other.params)),
      children(std::move(other.children)) {
    other.params.clear();
    other.children.clear();
}

// Both assignments take everything out of `other` before this record's lists change, so a
// record may be assigned from one of its own descendants.
PropertyInsData& PropertyInsData::operator=(const PropertyInsData& other) {
    if (this != &other) *this = PropertyInsData(other);
    return *this;
}

PropertyInsData& PropertyInsData::operator=(PropertyInsData&& other) noexcept {
    if (this == &other) return *this;
    PropertyInsData taken(std::move(other));
    compType = taken.compType;
    category = taken.category;
    initName = taken.initName;
    sectionShape = taken.sectionShape;
    graphLibId = taken.graphLibId;
    params.swap(taken.params);
    children.swap(taken.children);
    return *this;  // `taken` now holds the old lists and frees them
}

bool PropertyInsData::operator<(const PropertyInsData& other) const {
    if (compType != other.compType) return compType < other.compType;
    const int byCategory = category.Compare(other.category);
    if (byCategory != 0) return byCategory < 0;
    return sectionShape.Compare(other.sectionShape) < 0;
}

}  // namespace CONFIG
