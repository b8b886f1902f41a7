#pragma once
// Turning a stored thumbnail upright for display. The catalogue loads the
// blob and the photo's columns; this part only decodes, mirrors and rotates.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "metadata/orientation.h"

class RasterImage;

// Applies transform to image in place (mirror, then clockwise quarter
// turns). Should an operation fail, the image stays as it was, which still
// shows the photo.
void ApplyOrientation(OrientationTransform transform, RasterImage& image);

// Decodes the blob (the whole of it, as JPEG) into out and turns it:
// a quarter turn clockwise when the thumbnail's aspect disagrees with the
// photo's nWidth x nHeight, then, when autoOrient is on, the orientation's
// transform (OrientationFromText). False, with out empty, for an empty or
// undecodable blob.
bool DecodeDisplayThumbnail(const std::uint8_t* blob, std::size_t length, int nWidth, int nHeight,
                            std::string_view orientation, bool autoOrient, RasterImage& out);
