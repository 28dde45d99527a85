// One report for whatever ended an operation.
#include <new>

#include "zip/ZipComp.h"

FailureKind TZipComponent::ReportFailure(const std::exception_ptr& failure, const FailureIds& ids) {
  try {
    std::rethrow_exception(failure);
  } catch (const EZipComponent& error) {
    ReportZipError(error);
    return FailureKind::Component;
  } catch (const std::bad_alloc&) {
    ReportMessage(ids.OutOfMemory, "");
    return FailureKind::OutOfMemory;
  } catch (const std::exception& error) {
    ReportMessage(ids.Other, ids.OtherWithText ? error.what() : "");
  } catch (...) {
    ReportMessage(ids.Other, "");
  }
  return FailureKind::Other;
}
