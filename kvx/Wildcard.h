#pragma once
// File spec matching against a full stored name: "*" any run, "?" one byte, "[...]" a set
// ("[!...]" or "[^...]" negated, "a-z" ranges); "/" is not special.
#include <string_view>

bool MatchesSpec(std::string_view name, std::string_view spec);
