#include "persist/WholeFileWriter.h"

#include <filesystem>
#include <system_error>

#include "assets/FileStream.h"

WholeFileWriter::Result WholeFileWriter::write(const std::string& path, const std::string& text,
                                               bool inPlaceWhenNoScratch) {
    const std::string scratch = scratchName(path);
    {
        FileStream file;
        file.open(scratch, "w");
        if (!file.isOpen()) {
            if (!inPlaceWhenNoScratch) return Result::Failed;
            file.open(path, "w");
            if (!file.isOpen()) return Result::Failed;
            file.writeText(text);
            return Result::WrittenInPlace;
        }
        file.writeText(text);
    }
    std::error_code error;
    // Text mode may add bytes, never drop them: a shorter file is a write that failed.
    const auto written = std::filesystem::file_size(scratch, error);
    if (!error && written >= text.size())
        std::filesystem::rename(scratch, path, error);
    else if (!error)
        error = std::make_error_code(std::errc::no_space_on_device);
    std::error_code ignored;
    if (std::filesystem::exists(scratch, ignored)) std::filesystem::remove(scratch, ignored);
    return error ? Result::Failed : Result::Replaced;
}
