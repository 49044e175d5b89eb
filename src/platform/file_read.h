// Reading a whole file without surprises: a directory, a device that fails
// half-way or a file that vanished all come back as "could not read", with
// the system's reason, never as an exception or an empty success.
#pragma once

#include <string>

namespace ruma {

// The system's words for an errno value, lower-case to follow a colon:
// "cannot open runs: is a directory".
std::string errorText(int error);

// The whole contents of the file at path (anything but a directory). On
// failure returns false and sets reason (when given) to errorText of the cause.
bool readWholeFile(const std::string& path, std::string& bytes, std::string* reason = nullptr);

// When set, called with the path of each file readWholeFile opens (tests
// count the game's reads through it); the loading thread may call it too.
extern void (*onFileOpened)(const std::string& path);

// True when path is a file (not a directory) that this process may open for reading;
// otherwise sets reason like readWholeFile.
bool isReadableFile(const std::string& path, std::string* reason = nullptr);

} // namespace ruma
