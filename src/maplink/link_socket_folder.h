#pragma once
// Where the endpoints' sockets live: $XDG_RUNTIME_DIR/darazoz-link when that
// variable names a directory, else /tmp/darazoz-link-<uid>. The folder is
// created with mode 0700; an existing one that is not a real directory owned
// by this user, or that others may access, is refused, so no other user can
// reach or impersonate an endpoint.

#include <optional>
#include <string>

// The folder, created when missing; nothing when it is unsafe or unusable.
std::optional<std::string> LinkSocketFolder();

// The socket path of a class; nothing when the folder is refused or the
// class name cannot form a socket path.
std::optional<std::string> LinkSocketPath(const std::string& className);
