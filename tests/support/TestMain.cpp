// Entry point of every test binary: the program's application object on the offscreen
// platform, a pinned locale, SDL's silent audio driver and no desktop portal (a session bus
// address where none listens), so that tests never need a display or a sound card and never
// open a dialog on the desktop; a test that wants a portal serves its own. An error box that no
// test asked for fails the running test instead of waiting for an answer; a test that expects
// one sets its own hook (or nullptr to see the real box).
#include "framework/TApplication.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LC_ALL", "C.UTF-8", 1);
    unsetenv("LANGUAGE");
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/zvonkar-tests", 1);
    std::setlocale(LC_ALL, "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    app.SetErrorBoxHook([](const QString& caption, const QString& text) {
        ADD_FAILURE() << "Unexpected error box \"" << caption.toStdString()
                      << "\": " << text.toStdString();
    });
    return RUN_ALL_TESTS();
}
