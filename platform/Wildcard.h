#pragma once
// File pattern matching against a full stored name: "*" any run, "?" one byte, "[...]" a set
// ("[!...]" or "[^...]" negated, "a-z" ranges); "/" is not special.
#include <string_view>

bool MatchesSpec(std::string_view name, std::string_view pattern);
