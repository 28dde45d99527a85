#pragma once
// The busy cursor for as long as the object lives, through the backend (the wx backend shows the
// desktop's own). Objects nest: the ordinary cursor is back once the outermost ends.
#include "classlib/Application.h"

class TBusyCursor {
 public:
  TBusyCursor() { SetScreenCursor(crHourGlass); }
  ~TBusyCursor() { SetScreenCursor(crDefault); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};
