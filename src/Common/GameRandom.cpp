#include "Common/GameRandom.h"

#include <random>

namespace {

std::mt19937& stream()
{
    static std::mt19937 engine(1);
    return engine;
}

}  // namespace

namespace GameRandom {

void seed(unsigned int seed)
{
    stream().seed(seed);
}

int draw()
{
    // The engine gives 32 bits; the top 31 make a non-negative int like rand().
    return static_cast<int>(stream()() >> 1);
}

}  // namespace GameRandom
