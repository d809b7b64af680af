#include "strip/Animation.h"

#include "platform/Random.h"
#include "strip/Layout.h"
#include "strip/Settings.h"

std::string PrevFrame, NewFrame, FrameBuilder, BlankFrame;
int Pos1, Pos2, Centre;
bool Forward;

namespace {

// Appends a frame with at most the two positions lit.
void appendLit(size_t frameLength, int a, int b)
{
    const size_t start = FrameBuilder.size();
    FrameBuilder.append(frameLength, '0');
    for (int p : {a, b})
        if (p >= 1 && size_t(p) <= frameLength)
            FrameBuilder[start + size_t(p - 1)] = '1';
}

bool sideToSide(int N, size_t frameLength)
{
    bool turn = false;
    if (Forward) {
        ++Pos1;
        if (Pos1 >= N) {
            Forward = false;
            turn = true;
        }
    } else {
        --Pos1;
        if (Pos1 < 1) {
            Forward = true;
            turn = true;
        }
    }
    appendLit(frameLength, Pos1, Pos1);
    return turn;
}

bool centerOut(int N, int centre, size_t frameLength)
{
    bool turn = false;
    ++Pos1;
    --Pos2;
    if (N < Pos1) {
        turn = true;
        Centre = centre;
        Pos1 = Centre;
        Pos2 = Centre;
    }
    appendLit(frameLength, Pos1, Pos2);
    return turn;
}

bool sidesIn(int N, int centre, size_t frameLength)
{
    bool turn = false;
    ++Pos1;
    --Pos2;
    // Only the left-moving light is tested: with an even count the two pass each other.
    if (Pos2 < Centre) {
        turn = true;
        Pos1 = 1;
        Centre = centre;
        Pos2 = N;
    }
    appendLit(frameLength, Pos1, Pos2);
    return turn;
}

bool random(size_t frameLength)
{
    for (size_t p = 1; p <= frameLength; ++p)
        FrameBuilder += Random(5) == 1 ? '1' : '0';
    return false;
}

} // namespace

bool AdvancePattern(int N, int centre, size_t frameLength)
{
    switch (Pattern) {
    case ptSideToSide: return sideToSide(N, frameLength);
    case ptCenterOut: return centerOut(N, centre, frameLength);
    case ptSidesIn: return sidesIn(N, centre, frameLength);
    case ptRandom: return random(frameLength);
    default: FrameBuilder.append(frameLength, '0'); return false;
    }
}

void ResetPattern()
{
    const int W = StripWidth();
    const int N = RoundUpDiv(W, LightPitch());
    const int centre = RoundUpDiv(W, 2 * LightPitch());
    switch (Pattern) {
    case ptSideToSide: Pos1 = 1; break;
    case ptCenterOut:
        Centre = centre;
        Pos1 = Centre;
        Pos2 = Centre;
        break;
    case ptSidesIn:
        Centre = centre;
        Pos2 = N;
        Pos1 = 1;
        break;
    case ptRandom: Pos1 = 1; break;
    default: break;
    }
}
