#pragma once

#include <QStringView>

#include <optional>

namespace larkspan {

// The parts of an address found in a listing block, as views into it.
struct AddressMatch {
    QStringView street;  // with the comma that ended it; empty for the markup pattern
    QStringView city;
    QStringView state;
    QStringView postcode;
};

// The record's two address patterns, with "." stopping at line separators:
//   `address: ((.+),)+? ?(.+?) ([A-Z]+) (\d+)` (street: group 1; city, state, postcode: 3 to 5)
//   `>(.+) ([A-Z]+) (\d+)` (city, state, postcode: groups 1 to 3).
// Each gives the match a backtracking search gives (the leftmost, and at its start the first
// the search order reaches), and the input ends at its first U+0000, as in the matcher. But the
// work is linear in the block: a backtracking search of the first pattern takes time exponential
// in the commas of a line that does not match, of the second quadratic in a long markup line,
// and a search cut short by the matching limits would lose an address further down.
std::optional<AddressMatch> matchStreetAddress(QStringView block);
std::optional<AddressMatch> matchMarkupAddress(QStringView block);

}  // namespace larkspan
