#pragma once
// Every control of the Configuration, Diagnostics and Advanced pages: its name, kind, the
// group it sits in and the state the page design gives it. The model is built from this
// table and the page widgets are created from it, so a name lives in one place.

#include "ControlModel.h"

#include <QString>
#include <vector>

namespace dunmere {

enum class ControlKind { Frame, Label, Button, Text, List, Check, Slider, Progress };

struct PageControl {
    int page;            // tab of MainTab: 1 Configuration, 2 Diagnostics, 3 Advanced
    const char* name;    // objectName
    ControlKind kind;
    const char* parent;  // the frame it sits in, "" for the page itself
    const char* caption; // design-time caption, replaced by the language texts
    bool visible;
    bool enabled;
};

[[nodiscard]] const std::vector<PageControl>& PageControls();


// Adds every control of the table to the model in its design state.
void AddPageControls(ControlModel& model);

}  // namespace dunmere
