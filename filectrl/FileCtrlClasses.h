#pragma once
// Makes the browsing controls (TDirectoryListBox, TFileListBox, TDriveComboBox) and their events
// known to the layout loader. Only the first call registers.

void RegisterFileCtrlClasses();
