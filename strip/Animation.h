#pragma once

#include <string>

// Frames: one character per light position, "1" lit and "0" dark; character p is light p - 1.
// A frame is 1024 characters long, or as long as the strip has positions when it has more.
extern std::string PrevFrame, NewFrame, FrameBuilder, BlankFrame;

// The moving positions (1-based; outside 1..N a light is simply not shown), the middle of the
// strip, and the direction of "Side to side".
extern int Pos1, Pos2, Centre;
extern bool Forward;

// The patterns, in the order of their choices.
enum { ptSideToSide, ptCenterOut, ptSidesIn, ptRandom };

// Advances the positions of the current Pattern over N positions and appends its frame of
// frameLength characters to FrameBuilder. Returns whether the step is a turning point, where
// the sound in step with the animation is due.
bool AdvancePattern(int N, int centre, size_t frameLength);

// Sets the positions up for the current Pattern, as choosing it in the Options dialog does.
void ResetPattern();
