#include "platform/Random.h"

#include <QDateTime>
#include <random>

namespace {
std::minstd_rand &generator()
{
    static std::minstd_rand g;
    return g;
}
} // namespace

void RandSeed(unsigned seed)
{
    generator().seed(seed);
}

void Randomize()
{
    RandSeed(unsigned(QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay()));
}

int Random(int range)
{
    return std::uniform_int_distribution<int>(0, range - 1)(generator());
}
