#pragma once

// The program's pseudo-random generator.
void RandSeed(unsigned seed);
// Seeds the generator from the clock: the milliseconds elapsed in the current day (UTC).
void Randomize();
// A uniformly drawn integer from 0 to range - 1.
int Random(int range);
