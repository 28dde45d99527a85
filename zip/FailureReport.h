#pragma once
// How an operation of the component reports what ended it.
#include <cstdint>

// What ended an operation, for operations whose result says which.
enum class FailureKind { Component, OutOfMemory, Other };

// The message ids an operation reports under when what ended it is not the component's own error.
struct FailureIds {
  std::int32_t OutOfMemory;  // std::bad_alloc
  std::int32_t Other;        // any other exception
  bool OtherWithText;        // a std::exception's text follows Other's message
};
