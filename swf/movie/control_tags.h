#pragma once
// Readers for the timeline's control tags and for buttons. Each reads one tag body.

#include <functional>
#include <memory>

#include "swf/io/bit_reader.h"
#include "swf/movie/button.h"
#include "swf/movie/timeline.h"

namespace swf {

using CharacterLookup = std::function<std::shared_ptr<const Character>(uint16_t)>;

PlaceCommand readPlaceObject(int tagCode, BitReader& body, const CharacterLookup& lookup);
RemoveCommand readRemoveObject(int tagCode, BitReader& body);
std::shared_ptr<ButtonCharacter> readButton(int tagCode, BitReader& body,
                                            const CharacterLookup& lookup);

}  // namespace swf
