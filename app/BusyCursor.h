#pragma once
// The desktop's busy cursor for as long as the object lives.
#include "classlib/Application.h"

class TBusyCursor {
 public:
  TBusyCursor() { SetScreenCursor(crHourGlass); }
  ~TBusyCursor() { SetScreenCursor(crDefault); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};
