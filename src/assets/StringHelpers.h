#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Small text helpers shared by every reader of the game. A leaf: includes nothing of the game.
// All of them are total: every input, including empty patterns, gives a defined result.

// value in decimal, left-padded with '0' to min(width, 10) digits; never truncated.
std::string toStringPadded(uint32_t value, uint32_t width);
bool contains(const std::string& text, const std::string& part);
// An empty `from` matches nowhere: the text comes back unchanged.
std::string replaceFirst(std::string text, const std::string& from, const std::string& to);
// Searches again after the inserted text, so a `to` that contains `from` cannot loop.
std::string replaceAll(std::string text, const std::string& from, const std::string& to);
// Pieces up to each delimiter: "" gives none, "a,b," gives {"a","b"}, "a,,b" gives {"a","","b"}.
std::vector<std::string> split(const std::string& text, char delimiter);
