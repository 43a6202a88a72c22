// What kind of input an event that makes stars was: the front end tells the
// star field in these words, whatever its platform calls the event.
#pragma once
#include <cstdint>

enum class InputKind : uint8_t {
  kClick,  // a left click: quantity stars, the chase game's newest
  kMove,   // a fast mouse move: one star
  kKey,    // a key at the text caret: quantity stars, none for the chase game
};
