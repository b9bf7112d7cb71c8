// Anchors the program's compiled-in resources in their own library.
#include <QtGlobal>

void ZvonkarResourcesAnchor() {}
