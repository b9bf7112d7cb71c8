#pragma once
// Makes the framework's own controls (TPanel, TStaticText, TEdit, TMemo, TButton, TSpeedButton,
// TImage) and the form's events known to the layout loader. The loader calls it itself; only the
// first call registers.

void RegisterStandardClasses();
