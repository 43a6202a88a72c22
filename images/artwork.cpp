#include "images/artwork.h"

FrameSize poofFrameSize{};
PoofFrame* poofChain = nullptr;
PoofFrame* poofFrames[kPoofFrameCount] = {};
ImageSet digitStrips[DIGIT_STRIP_COUNT] = {};
