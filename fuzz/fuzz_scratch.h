#pragma once
// A private folder under the temporary folder for the inputs that must be
// files; created on first use and removed when the process exits.

#include <cstddef>
#include <cstdint>
#include <string>

// The scratch folder joined with name.
std::string ScratchPath(const std::string& name);

// Writes the bytes to path, replacing it. False when the file cannot be written.
bool WriteScratchFile(const std::string& path, const std::uint8_t* data, std::size_t size);
