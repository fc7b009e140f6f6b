// Waiting on the user-interface thread without leaving its windows unanswered. A window whose
// thread reads no message for a few seconds is shown by Windows as not responding, and a
// screen reader that asks it something (a sent WM_GETOBJECT, then COM calls that arrive as
// messages posted to COM's own window) waits with it. So a wait that may last seconds reads
// the thread's messages meanwhile: sent messages are answered, paints and posted messages
// dispatched; what the user types or clicks is dropped, because the wait stands for work the
// user has to let finish.
#pragma once

#include <windows.h>

// Waits at most dwMilliseconds (INFINITE allowed) for hEvent, reading the thread's messages
// as above. True once the event is set; false when the time ran out (or the wait failed).
// A WM_QUIT read meanwhile is posted again when the wait ends.
bool AfxWaitAnswering(HANDLE hEvent, DWORD dwMilliseconds);
