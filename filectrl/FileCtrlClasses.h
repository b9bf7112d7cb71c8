#pragma once
// Makes the browsing controls (TDirectoryListBox, TFileListBox, TDriveComboBox) and their events
// known to the layout loader. Calling it again does no harm.

void RegisterFileCtrlClasses();
