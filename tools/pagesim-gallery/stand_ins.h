#pragma once

#include <string>
#include <string_view>

namespace gallery {

// True when `name` is one of the images that the payment server supplies and
// its pages name (the card logos, the key of the security notice, the spacer
// between the card choices), matched exactly as the pages write it.
bool is_server_image(std::string_view name);

// The stand-in the gallery writes for the server's image `name`: a GIF drawn
// here, plainly not the real artwork (a neutral box with the card type's
// name, a key, a transparent spacer), so the page shows whole. Empty when
// `name` is no server image.
std::string stand_in_image(std::string_view name);

}  // namespace gallery
