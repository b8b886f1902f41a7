#pragma once
// Running a command as a fresh process the way a user's shell would, and
// summing up rounds of figures: what every whole-process benchmark shares.

#include <string>
#include <utility>
#include <vector>

struct ProcessRun {
    double start = 0;       // steady-clock seconds when the process was started
    double seconds = 0;     // wall time until it ended
    double cpuSeconds = 0;  // its user + system time
    double peakMiB = 0;     // its largest resident size
    int status = -1;        // its exit status; -1 when it did not start or was killed
    std::string output;     // what it wrote to standard output
};

// The steady clock in seconds, as the programs' printed marks use it.
double SteadySeconds();

// Runs command (searched on PATH when it has no slash) with the extra
// environment, its standard output collected and its errors discarded.
ProcessRun RunProcess(const std::vector<std::string>& command,
                      const std::vector<std::pair<std::string, std::string>>& environment = {});

struct Spread {
    double min = 0, median = 0, max = 0;
};

// Smallest, median and largest of values; zeros when there are none.
Spread SpreadOf(std::vector<double> values);
