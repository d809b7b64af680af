// Saves the settings in a loop, for the tests of the store that kill it or run two at once.
//
//   store_writer rounds            reads "start FIRST" lines; for each, a child process prints
//                                  "child PID", then saves round FIRST, FIRST + 1, ... (StoreRounds.h)
//                                  until killed, printing the number of writes completed after
//                                  each one; "ended" follows its end. (Forking is much faster
//                                  than starting a program, so a thousand kills take seconds.)
//   store_writer concurrent ID S   for S seconds, writes values only this copy writes, checks that
//                                  they are all still there, and saves the settings; prints
//                                  "rounds N" at the end, or what went missing (exit status 1)
//   store_writer fill              saves with an ever longer WarnFile until the disk is full, then
//                                  checks that the store holds every completed write and nothing
//                                  else lies beside it; prints "full ..." and "store whole"
#include "StoreRounds.h"

#include "platform/Exceptions.h"
#include "platform/Registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void saveRounds(int first)
{
    long completed = 0;
    TRegistry::SetWriteObserver([&completed](const std::string &) {
        char line[24];
        const int n = std::snprintf(line, sizeof line, "%ld\n", ++completed);
        [[maybe_unused]] auto written = ::write(STDOUT_FILENO, line, size_t(n));
    });
    for (int r = first;; ++r) {
        SetRoundSettings(r);
        SaveSettings(r, -r);
    }
}

int forkRounds()
{
    // Whoever started us and our children end with the test, even when it fails half-way.
    const pid_t test = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != test)
        return 1;
    const pid_t server = ::getpid();
    int first;
    while (std::scanf(" start %d", &first) == 1) {
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child < 0)
            return 1;
        if (child == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != server)
                ::_exit(1);
            std::printf("child %d\n", int(::getpid()));
            std::fflush(stdout);
            saveRounds(first);
        }
        int status;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        std::printf("ended\n");
        std::fflush(stdout);
    }
    return 0;
}

int concurrent(int id, int seconds)
{
    const int ownValues = 5;
    const auto ownName = [id](int k) { return "Writer" + std::to_string(id) + "." + std::to_string(k); };
    QElapsedTimer clock;
    clock.start();
    int round = 0;
    for (; clock.elapsed() < seconds * 1000LL; ++round) {
        const std::string text = std::to_string(id) + ":" + std::to_string(round);
        for (int k = 0; k < ownValues; ++k)
            WriteRegString(KeyPath, ownName(k), text);
        const int r = id * 100000 + round;
        SetRoundSettings(r);
        SaveSettings(r, -r);
        // Nobody else writes these names: another copy's save must not have lost any of them.
        for (int k = 0; k < ownValues; ++k) {
            const std::string found = ReadRegString(KeyPath, ownName(k), "<missing>");
            if (found != text) {
                std::printf("lost %s: %s instead of %s\n", ownName(k).c_str(), found.c_str(), text.c_str());
                return 1;
            }
        }
    }
    std::printf("rounds %d\n", round);
    return 0;
}

int fill()
{
    std::vector<std::string> order;
    for (const auto &[name, text] : RoundTexts(0))
        order.push_back(name);
    const auto position = [&order](const std::string &name) {
        return std::find(order.begin(), order.end(), name) - order.begin();
    };
    SetDefaultSettings(1016);
    for (int round = 1; round < 100000; ++round) {
        const std::string previous = WarnFile;
        WarnFile = std::string(size_t(round) * 512, 'x');
        try {
            SaveSettings(0, 0);
        } catch (const Exception &e) {
            const std::string message = e.what();
            const std::string failed = message.substr(message.find('\'') + 1, message.rfind('\'') - message.find('\'') - 1);
            std::printf("full in round %d: %s\n", round, message.c_str());
            // The values before the one refused hold this round's texts, the others the last round's.
            const std::string expected = position("WarnFile") < position(failed) ? WarnFile : previous;
            const bool whole = ReadRegString(KeyPath, "WarnFile", "<missing>") == expected;
            const QDir folder = QFileInfo(TRegistry::FileForKey(KeyPath)).absoluteDir();
            const bool alone = folder.entryList(QDir::Files | QDir::Hidden) == QStringList{"Lights.reg"};
            std::printf("%s\n", whole && alone ? "store whole" : whole ? "files left beside the store" : "store not as written");
            return whole && alone ? 0 : 1;
        }
    }
    std::printf("never full\n");
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        if (argc == 2 && std::strcmp(argv[1], "rounds") == 0)
            return forkRounds();
        if (argc == 2 && std::strcmp(argv[1], "fill") == 0)
            return fill();
        if (argc == 4 && std::strcmp(argv[1], "concurrent") == 0)
            return concurrent(std::atoi(argv[2]), std::atoi(argv[3]));
    } catch (const Exception &e) {
        std::printf("failed: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: %s rounds | concurrent ID SECONDS | fill\n", argv[0]);
    return 2;
}
