#pragma once
// Makes the dialog components (TSaveDialog) and their events known to the layout loader.
// Only the first call registers.

void RegisterDialogsClasses();
