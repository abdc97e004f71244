#pragma once
#include <cstdint>
#include <vector>

// The bytes of one pack entry, owned by whoever fetched them. There is no terminating zero:
// line readers walk `data` from `position` until it reaches `size`.
struct PackBuffer {
    uint32_t position = 0;
    std::vector<uint8_t> data;
    uint32_t size = 0;
};
