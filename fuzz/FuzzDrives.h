#pragma once
// The drives a path fuzz target works on: a temporary folder holding drive C: (with a few
// folders and files to find), a removable drive D: without a medium and a network drive N:,
// put in force through ZVONKAR_DRIVES for the whole run and removed when the run ends.

#include <QTemporaryDir>

class FuzzDrives {
public:
    // Builds the folders, sets the drive map and makes C:\ the current directory; aborts with a
    // message when the temporary folder cannot be made, since no input could be tried then.
    FuzzDrives();

private:
    QTemporaryDir root;
};
