#ifndef KOVO_COMMON_GAMERANDOM_H
#define KOVO_COMMON_GAMERANDOM_H

// The game's own random draws, apart from those of its looks (snow, sparks, smoke, bubbles,
// idle pictures), which keep std::rand: what the actors decide by chance (a thug's turn, a
// helicopter's bomb spot, and the like) comes from this one stream, so that a seed replays a
// game whatever the looks drew. Each draw has the shape of rand(), which the actors' odds
// are counted in: 0 to kMax, taken modulo n by the caller (GameRandom::draw() % 50).
namespace GameRandom {

constexpr int kMax = 2147483647;

// Starts the stream afresh: the same seed gives the same draws. The game seeds it with the
// clock at start-up; before any seed it runs as if seeded with 1.
void seed(unsigned int seed);
// The next draw, 0 to kMax.
int draw();

}  // namespace GameRandom

#endif
