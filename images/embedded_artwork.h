// The built-in artwork compiled into the program as byte arrays, for a front
// end without Windows resources (cmake/EmbedArtwork.cmake makes them).
#pragma once
#include "images/artwork_payload.h"

// The payload of each BuiltInArt in its order; {null, 0} past the last.
// Defined by the generated source.
Payload EmbeddedPayloadBytes(int index);

// The payloads as the star field's shelf hands them out.
const ArtworkPayloads& EmbeddedArtwork();
