#pragma once

#include <QString>

#include <cstdint>

// One member state: its VAT prefix, its Italian name and up to three accepted lengths (inclusive
// ranges) of the national part. A range whose minimum is 0 ends the list.
struct RigaNazione {
    QString codice;
    QString nome;
    std::uint8_t min1 = 0, max1 = 0, min2 = 0, max2 = 0, min3 = 0, max3 = 0;
};
