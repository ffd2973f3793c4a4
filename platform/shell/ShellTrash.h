// Deleting a user's file or folder by moving it to the freedesktop trash.
#pragma once
#include <string>

// Moves the file or folder at `path` to the user's trash through GIO (the home trash, or the trash at the
// top of the path's own mount), with the record that lets the desktop restore it. Never deletes anything
// outright: false, with the reason in `error`, when the item cannot be trashed (missing, no trash on that
// file system, no permission).
bool MoveToTrash(const std::string& path, std::string& error);
