#pragma once
// The busy pointer during long work on the interface thread.

// The active window shows the busy pointer. The work it marks runs asynchronously, so the event
// loop shows the pointer at once.
void InizioAttesa();

// The normal pointer again on the busy window, the main window, the active window and the whole
// screen.
void FineAttesa();
