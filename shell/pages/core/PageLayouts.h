#pragma once
// Where each control of the three pages sits: per container (the page itself or a group), the
// rows of its grid. A cell names one control, or alternatives that take the same place in
// turn ("QuiLabel1|LblACal"); "<" widens the cell to its left, "" leaves a cell empty.

#include <QString>
#include <vector>

namespace dunmere {

// Each row names the control in each cell; "<" widens the cell to its left by one column,
// "^" lengthens the cell above by one row, "" leaves the cell empty.
struct GridLayoutRows {
    const char* container;  // a frame's name, or the page container's ("Page1".."Page3")
    std::vector<std::vector<const char*>> rows;
};

[[nodiscard]] const std::vector<GridLayoutRows>& PageLayouts();

// Groups that are not laid out in the grid but cover the whole page while they show.
[[nodiscard]] bool CoversPage(const QString& name);
// The button that opens and closes such a group, kept above it.
[[nodiscard]] bool StaysAboveCover(const QString& name);
// Labels that hold a sentence of advice or status rather than a caption or a value.
[[nodiscard]] bool IsNote(const QString& name);

}  // namespace dunmere
