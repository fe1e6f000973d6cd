#pragma once

#include "cli/db_builder.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace tomarina::bench {

// A synthetic directory of n hotels over the sample's prefectures, airports and districts, built once.
const DbSource& source(int hotels);
const QByteArray& database(int hotels);
// The same written to a file in a temporary folder.
QString database_file(int hotels);

// Pairs a figure with its baseline; the main prints both times and their ratio after the run. The target
// is a ratio the figure must stay at or under (at_least: reach at least), or 0 for none.
void compare(const char* figure, const char* baseline, double target_ratio, const char* note,
             bool at_least = false);
// Pairs a figure with its baseline; the target is the most the figure may add to it, in milliseconds.
void compare_added(const char* figure, const char* baseline, double target_ms, const char* note);

} // namespace tomarina::bench
