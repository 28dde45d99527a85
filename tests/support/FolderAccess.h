#pragma once
// Permission bits that hold for root too: while an object lives, the process does without the
// capabilities that let root enter and read any folder.
class TPermissionBitsApply {
 public:
  TPermissionBitsApply();
  ~TPermissionBitsApply();
  TPermissionBitsApply(const TPermissionBitsApply&) = delete;
  TPermissionBitsApply& operator=(const TPermissionBitsApply&) = delete;

 private:
  unsigned FSavedEffective = 0;
  bool FDropped = false;
};
