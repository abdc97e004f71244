#include "assets/FileStream.h"

#include <filesystem>
#include <iostream>
#include <system_error>

namespace {
bool savedataReady = false;

void makeSavedata() {
    if (savedataReady) return;
    std::error_code error;
    std::filesystem::create_directory("Savedata", error);
    // create_directory reports no error when the directory is already there.
    if (!error) savedataReady = true;
}
} // namespace

FileStream::FileStream() {
    makeSavedata();
}

FileStream::~FileStream() {
    close();
}

void FileStream::forgetSavedataForTests() {
    savedataReady = false;
}

void FileStream::open(const std::string& name, const std::string& modeText) {
    close();
    name_ = name;
    modeText_ = modeText;
    std::ios::openmode how;
    if (modeText == "r") {
        mode_ = Mode::ReadText;
        how = std::ios::in;
    } else if (modeText == "w") {
        mode_ = Mode::WriteText;
        how = std::ios::out | std::ios::trunc;
    } else if (modeText == "rb") {
        mode_ = Mode::ReadBinary;
        how = std::ios::in | std::ios::binary;
    } else if (modeText == "wb") {
        mode_ = Mode::WriteBinary;
        how = std::ios::out | std::ios::trunc | std::ios::binary;
    } else {
        mode_ = Mode::NotOpened;
        return;
    }
    stream_.open(name, how);
    open_ = stream_.is_open();
}

bool FileStream::allowed(Mode wanted) {
    if (!open_) {
        std::cout << "The file is not opened" << std::endl;
        return false;
    }
    if (mode_ != wanted) {
        std::cout << "Open mode: " << modeText_ << " prevents from reading" << std::endl;
        return false;
    }
    return true;
}

std::string FileStream::readLine() {
    std::string line;
    if (allowed(Mode::ReadText)) std::getline(stream_, line);
    return line;
}

void FileStream::writeText(const std::string& text) {
    if (allowed(Mode::WriteText)) stream_.write(text.data(), static_cast<std::streamsize>(text.size()));
}

size_t FileStream::read(void* destination, size_t count) {
    if (!allowed(Mode::ReadBinary)) return 0;
    stream_.read(static_cast<char*>(destination), static_cast<std::streamsize>(count));
    return static_cast<size_t>(stream_.gcount());
}

void FileStream::write(const void* source, size_t count) {
    if (allowed(Mode::WriteBinary))
        stream_.write(static_cast<const char*>(source), static_cast<std::streamsize>(count));
}

void FileStream::seek(uint64_t position) {
    if (!open_) {
        std::cout << "The file is not opened" << std::endl;
        return;
    }
    stream_.clear();
    if (mode_ == Mode::WriteText || mode_ == Mode::WriteBinary)
        stream_.seekp(static_cast<std::streamoff>(position));
    else
        stream_.seekg(static_cast<std::streamoff>(position));
}

uint64_t FileStream::size() {
    if (!open_) return 0;
    std::error_code error;
    const auto bytes = std::filesystem::file_size(name_, error);
    return error ? 0 : bytes;
}

bool FileStream::atEnd() {
    return !open_ || stream_.eof() || stream_.peek() == std::char_traits<char>::eof();
}

void FileStream::close() {
    if (stream_.is_open()) stream_.close();
    stream_.clear();
    open_ = false;
    mode_ = Mode::NotOpened;
    modeText_ = "closed";
}
