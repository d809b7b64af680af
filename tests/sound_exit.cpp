// Plays a file and ends the program in the way its second argument names, for the check that the
// program always ends at once, cleanly and without a word, whatever its sound is doing.
#include "platform/Sound.h"

#include <chrono>
#include <string>
#include <thread>

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const std::string file = argv[1];
    const std::string when = argv[2];
    if (when == "after a built-in sound")
        PlaySound("WUPPER", SND_RESOURCE);
    PlaySound(file, SND_FILENAME | SND_ASYNC);
    if (when == "while loading")
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    if (when == "after shutdown")
        ShutdownSound();
    return 0;
}
