// Our side of the batch benchmarks: the main window's batch code converting sources queued as the add road leaves
// them, in a process of its own.
#pragma once
#include <string>
#include <vector>

// Analyses every source, queues it with its own copy of the default MP4 profile and an output file in
// `outputFolder`, and runs the main window's batch over them to its end, on the headless display (the batch's
// progress timer needs the window layer). 0 when every job completed; 1, with a line on standard error, otherwise.
int RunMainWindowBatch(const std::string& outputFolder, const std::vector<std::string>& sources);
