#pragma once
// Path separator handling: every algorithm that splits a path at its last
// separator splits at the native one.

#include <string>
#include <string_view>

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Position just after the last separator (0 when there is none).
std::size_t NameStart(std::string_view path);

// The folder part without its trailing separator ("" when there is none).
std::string_view FolderOfPath(std::string_view path);

// The name part after the last separator.
std::string_view NameOfPath(std::string_view path);

// folder + separator + name, without doubling a trailing separator.
std::string JoinPath(std::string_view folder, std::string_view name);

// True when path lies inside folder: folder is a prefix of path that ends
// at a separator ("/a/Photos2" is not inside "/a/Photo").
bool IsPathInside(std::string_view path, std::string_view folder);

// True for the path of a drive's root as stored for photos directly in it:
// "X:" on Windows; on POSIX the empty folder part of a file in "/".
bool IsDriveRootPath(std::string_view path);
