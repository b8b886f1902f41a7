#pragma once
// JPEG fixtures with restart markers, as many cameras write them.

#include <cstdint>
#include <vector>

// The same coefficients written again with a restart marker every
// restartMcus MCUs (lossless, so the pixels are those of the input); empty
// when libjpeg cannot read the input.
std::vector<std::uint8_t> WithRestartMarkers(const std::vector<std::uint8_t>& jpeg,
                                             int restartMcus);
