// Error types of the core. Every message is a text of the system (Windows-1252 bytes).
#pragma once

#include <stdexcept>
#include <string>

namespace quintor {

// Base of every error the core raises on purpose; the UI shows what() in its general error report.
class QuintorError : public std::runtime_error {
public:
    explicit QuintorError(const std::string& message) : std::runtime_error(message) {}
};

// A number or truth value that does not convert; the message names the bad text.
class ConversionError : public QuintorError {
public:
    using QuintorError::QuintorError;
};

// A file that cannot be read or written; the message carries the operating system's reason.
class FileError : public QuintorError {
public:
    using QuintorError::QuintorError;
};

} // namespace quintor
