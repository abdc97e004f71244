/* The one place stb_image's decoder is compiled. Pictures above STBI_MAX_DIMENSIONS are refused
 * before any allocation, so a hostile header cannot ask for gigabytes. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#include <stb_image.h>
