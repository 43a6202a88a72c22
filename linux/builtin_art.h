// The built-in artwork as the program carries it: the very payloads the
// Windows resources hold (packed at build time from res/art by pngpack:
// premultiplied, bottom-up B,G,R,A pixel memory, zlib-compressed), linked
// into the program. Finding one by name is this side's part; unpacking the
// bytes into pictures is the core's.
#pragma once
#include "linux/plain/art_bytes.h"

// The payload of res/art/NAME.png ("star", "star_large", "digits",
// "digits_mask", "poof", "version", "version_en"); empty for another name.
ArtBytes FindBuiltinArt(const char* name);

