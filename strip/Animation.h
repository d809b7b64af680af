#pragma once

#include <string>

// Frames: one character per light position, "1" lit and "0" dark; character p is light p - 1.
extern std::string PrevFrame, NewFrame, FrameBuilder, BlankFrame;
extern std::string OldChar, NewChar;

// The moving positions (1-based) and the direction of "Side to side".
extern int Pos1, Pos2, Centre;
extern bool Forward;
