#pragma once
// Readers that open a file by name get the input through one scratch file per process.
#include <cstdio>
#include <string>
#include <unistd.h>

inline std::string scratchFile(const uint8_t* data, size_t size) {
    const std::string path = "/tmp/vov-fuzz-" + std::to_string(getpid());
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) __builtin_trap();
    return path;
}
