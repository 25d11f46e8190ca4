#pragma once
// The busy pointer during long work on the interface thread.

// The active window shows the busy pointer; pending events run so that it appears at once.
void InizioAttesa();

// The normal pointer again on the busy window, the main window, the active window and the whole
// screen; pending events run.
void FineAttesa();
