/* The one place stb_image's decoder is compiled. Pictures above STBI_MAX_DIMENSIONS are refused
 * before any allocation, so a hostile header cannot ask for gigabytes. Only the formats a player
 * is likely to drop in are decoded; the rarer ones (PNM, PSD, GIF, HDR, PIC) only widen what a damaged
 * file can reach. */
#include <stdlib.h>

/* The JPEG decoder of this stb_image reads a Huffman table that the file never defines from memory it
 * took without clearing, so a damaged JPEG decoded to whatever the heap held before: an undefined
 * shift, and a table walk that can run off its arrays. Cleared memory reads as an empty table, which
 * the decoder handles: the same file then always gives the same picture or the same refusal. */
#define STBI_MALLOC(size) calloc(1, size)
#define STBI_REALLOC(pointer, size) realloc(pointer, size)
#define STBI_FREE(pointer) free(pointer)

#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#include <stb_image.h>
