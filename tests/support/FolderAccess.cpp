#include "tests/support/FolderAccess.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
constexpr unsigned FolderOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool GetCaps(__user_cap_data_struct (&data)[2]) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return syscall(SYS_capget, &header, data) == 0;
}
bool SetCaps(__user_cap_data_struct (&data)[2]) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return syscall(SYS_capset, &header, data) == 0;
}
}  // namespace

// Only the effective set changes; the permitted set keeps the capabilities for the way back.
TPermissionBitsApply::TPermissionBitsApply() {
  __user_cap_data_struct data[2]{};
  if (!GetCaps(data) || (data[0].effective & FolderOverrides) == 0) return;
  FSavedEffective = data[0].effective;
  data[0].effective &= ~FolderOverrides;
  FDropped = SetCaps(data);
}

TPermissionBitsApply::~TPermissionBitsApply() {
  __user_cap_data_struct data[2]{};
  if (!FDropped || !GetCaps(data)) return;
  data[0].effective = FSavedEffective;
  SetCaps(data);
}
