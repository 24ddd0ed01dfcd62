#pragma once
// Where each control of the three pages sits: per container (the page itself or a group), the
// rows of its grid. A cell names one control, or alternatives that take the same place in
// turn ("QuiLabel1|LblACal"); "<" widens the cell to its left, "" leaves a cell empty.

#include <QString>
#include <vector>

namespace dunmere {

struct GridLayoutRows {
    const char* container;  // a frame's name, or the page container's ("Page1".."Page3")
    std::vector<std::vector<const char*>> rows;
};

[[nodiscard]] const std::vector<GridLayoutRows>& PageLayouts();

// Groups that are not laid out in the grid but cover the whole page while they show.
[[nodiscard]] bool CoversPage(const QString& name);
// The button that opens and closes such a group, kept above it.
[[nodiscard]] bool StaysAboveCover(const QString& name);

}  // namespace dunmere
