#pragma once
// Assistive technology's view of the framework's own controls, which Qt does not know: a form is
// a window (a dialog while modal) named by its caption; a windowless control takes the role and
// name it gives (TGraphicControl::AccessibleRole and AccessibleName), and a push button or link
// among them can be pressed; a speed button is a push button named by its caption; a static text is
// named by its caption; a panel is a grouping of the controls on it. The list and combo boxes are
// Qt's item views and keep Qt's own interfaces, which read the entries as they are shown.

// Installs the accessibility factory for these controls; once per process, later calls do
// nothing.
void InstallAccessibleControls();
