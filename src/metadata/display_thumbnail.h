#pragma once
// Turning a stored thumbnail upright for display. The catalogue loads the
// blob and the photo's columns; this part only decodes and rotates.

#include <cstddef>
#include <cstdint>
#include <string_view>

class RasterImage;

// Clockwise quarter turns in degrees for an EXIF orientation name:
// "Left-top"/"Right-top" 90, "Left-bottom"/"Right-bottom" -90,
// "Bottom-right"/"Bottom-left" 180, anything else 0.
int OrientationTurn(std::string_view orientation);

// Decodes the blob (the whole of it, as JPEG) into out and turns it:
// a quarter turn clockwise when the thumbnail's aspect disagrees with the
// photo's nWidth x nHeight, plus the orientation's turn when autoOrient is
// on. False, with out empty, for an empty or undecodable blob.
bool DecodeDisplayThumbnail(const std::uint8_t* blob, std::size_t length, int nWidth, int nHeight,
                            std::string_view orientation, bool autoOrient, RasterImage& out);
