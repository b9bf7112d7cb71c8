#pragma once
// Makes the program's own controls (TTransparentButton, TURLLabel and the label it builds on)
// and their events known to the layout loader. Only the first call registers.

void RegisterControlsClasses();
