// A minimal PNG encoder for test screenshots: 24-bit RGB, stored (uncompressed) deflate blocks.
#pragma once

#include <cstdint>
#include <vector>

namespace e2e {

// rgb holds height rows of width pixels, top row first, three bytes a pixel.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace e2e
