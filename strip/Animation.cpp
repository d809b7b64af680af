#include "strip/Animation.h"

std::string PrevFrame, NewFrame, FrameBuilder, BlankFrame;
std::string OldChar, NewChar;
int Pos1, Pos2, Centre;
bool Forward;
