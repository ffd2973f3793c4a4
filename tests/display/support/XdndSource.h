// Our XDND drag source: drops files on the window under a screen point, as a file manager would, offering
// them as text/uri-list. Run as its own program (tp_xdnd_drop) so the target keeps running its loop.
#pragma once
#include <string>
#include <vector>

struct _XDisplay;

// "file://" URIs of absolute paths, one a line ending in CR LF; bytes other than unreserved ones and '/' are
// percent-encoded (spaces, non-ASCII).
std::string FileUriList(const std::vector<std::string>& paths);

// Moves the pointer to (x, y), finds the XDND-aware window there and drops `paths` on it, serving its
// request for the data. Returns 0 when the target finished the drop having accepted it, else a non-zero
// code with `error` saying what went wrong.
int DropFiles(_XDisplay* display, const std::vector<std::string>& paths, int x, int y, std::string& error);
