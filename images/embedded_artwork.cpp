#include "images/embedded_artwork.h"

namespace {

class EmbeddedPayloads final : public ArtworkPayloads {
 public:
  Payload Find(BuiltInArt art) const override { return EmbeddedPayloadBytes(static_cast<int>(art)); }
};

}  // namespace

const ArtworkPayloads& EmbeddedArtwork() {
  static const EmbeddedPayloads payloads;
  return payloads;
}
