#pragma once
// The window manager's close request: a WM_DELETE_WINDOW ClientMessage, as
// the close button of a title bar sends it. Our X servers run no window
// manager, so tests send it themselves.

typedef struct _XDisplay Display;

void SendCloseRequest(Display* display, unsigned long window);
