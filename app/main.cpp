// Program entry of Zvonkar.
#include "app/Program.h"
#include "framework/TApplication.h"

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    return RunProgram(application);
}
