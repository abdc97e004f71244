/* The one place stb_image's decoder is compiled. Pictures above STBI_MAX_DIMENSIONS are refused
 * before any allocation, so a hostile header cannot ask for gigabytes. Only the formats a player
 * is likely to drop in are decoded; the rarer ones (PNM, PSD, GIF, HDR, PIC) only widen what a damaged
 * file can reach. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#include <stb_image.h>
