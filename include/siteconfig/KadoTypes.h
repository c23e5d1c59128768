// Component and parameter type enumerations.
#pragma once

#include <cstdint>

namespace KADO {
namespace Product {

enum EKADOComponentType : std::int32_t {
    Wall = 1,
    Beam = 2,
    Slab = 3,
    Column = 4,
    Foundation = 5,
    TowerCrane = 6,
    Scaffold = 7,
    Pipe = 8,
    Opening = 9,
    Road = 10,
    Fence = 11,
    Building = 12,
    OtherComponentType = 3211,
    InvalidComponentType = 2147483647,
};

enum EKADOParameterType : std::int32_t {
    Name = 1,
    Length = 2,
    Width = 3,
    Height = 4,
    Thickness = 5,
    Material = 6,
    Elevation = 7,
    Color = 8,
    Category = 12,
    SectionShape = 36,
    InvalidParameterType = 2147483647,
};

}  // namespace Product
}  // namespace KADO
