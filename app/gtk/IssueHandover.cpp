#include "app/gtk/IssueHandover.h"

#include <glib-unix.h>

#include "app/core/ReaderInstance.h"
#include "classlib/Application.h"

TIssueHandover::TIssueHandover(TMainFrame& frame, int listening) : FFrame(&frame), FListening(listening) {
  if (FListening < 0) return;
  FWatch = g_unix_fd_add(
      FListening, G_IO_IN,
      [](gint, GIOCondition, gpointer handover) {
        static_cast<TIssueHandover*>(handover)->Answer();
        return gboolean{G_SOURCE_CONTINUE};
      },
      this);
}

TIssueHandover::~TIssueHandover() {
  if (FWatch != 0) g_source_remove(FWatch);
}

void TIssueHandover::Answer() {
  std::string issue;
  if (!AnswerHandover(FListening, issue) || !FFrame) return;
  TMainFrame* frame = FFrame.get();
  frame->Iconize(false);
  frame->Raise();
  if (issue.empty()) return;
  // Opened from the event loop, as a dropped issue is: the start that asked is answered already.
  frame->CallAfter(
      [frame, issue] { Application.Guard([frame, &issue] { frame->Form().OpenIssueFile(issue); }); });
}
