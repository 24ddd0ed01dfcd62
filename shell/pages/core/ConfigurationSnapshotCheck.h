#pragma once
// The before/after check of a type-89 sensor's configuration around the store action.

#include "PagesContext.h"

namespace dunmere {

// Reads a configuration snapshot, sends action "1", reads a second snapshot and, when both
// agree and every exchange so far was answered, sends action "14". True when confirmed.
[[nodiscard]] bool StoreAndVerifyConfiguration(PagesContext& ctx, bool answeredSoFar);

}  // namespace dunmere
