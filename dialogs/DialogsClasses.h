#pragma once
// Makes the dialog components (TSaveDialog) and their events known to the layout loader.
// Calling it again does no harm.

void RegisterDialogsClasses();
