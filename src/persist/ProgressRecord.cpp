#include "persist/ProgressRecord.h"

#include <filesystem>

bool ProgressRecord::readOptions() {
    std::error_code error;
    return std::filesystem::is_regular_file(kOptionsFile, error);
}
