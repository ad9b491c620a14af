#pragma once

// Adds the given number of rows to the log list of a real main window, one a second's date-time text each, first
// with the same report throughout, then (up to a million rows) with a report that changes at every row; prints
// what a row costs in memory and in time at the start and at the end of the run.
void LogListRows(long long rows);
