// Saves the settings in a loop until killed: the store must read back whole at every instant.
#include "platform/Registry.h"
#include "strip/Settings.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SetDefaultSettings(1016);
    for (int round = 0;; ++round) {
        Delay = round;
        SaveSettings(round, -round);
        if (round == 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
}
